// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfTools.h"
#include "WorkedExample.h"
#include "app/Catalogue.h"
#include "app/FontSubstitutes.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/PatientReport.h"
#include "diagrams/ReportPainter.h"
#include "records/KLRecord.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

// The patient report of one sheet, rendered to PDF and read back as the poppler tools see it.
class TestReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    static constexpr const char *kMeridians[] = {"Lu", "Hc", "Ht", "Si", "Th", "Li",
                                                 "Sp", "Lv", "Ki", "Bl", "Gb", "St"};

    // One table row as text: meridian, side, reading (if any), deviation and class name.
    static QString row(int m, int s, const QString &side, const QStringList &classNames,
                       const QLocale &locale)
    {
        static const quint32 colours[] = {Evaluation::kBlue, Evaluation::kLightBlue,
                                          Evaluation::kGreen, Evaluation::kLightRed,
                                          Evaluation::kRed};
        const Evaluation::Result r = Evaluation::evaluate(workedExample());
        QStringList cells = {kMeridians[m], side};
        if (workedExample()[m * 2 + s].isEmpty())
            return (cells << "–"
                          << "–"
                          << "–")
                .join(' ');
        cells << workedExample()[m * 2 + s];
        const auto colour = std::find(std::begin(colours), std::end(colours), r.ClassColor[m][s]);
        cells << ChartFormat::value(r.Deviation[m][s], locale)
              << classNames[static_cast<int>(colour - std::begin(colours))];
        return cells.join(' ');
    }

    static QString asset(const QString &name)
    {
        return qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/" + name;
    }

    static KLRecord workedSheet()
    {
        KLRecord sheet;
        const Evaluation::Cells cells = workedExample();
        for (int m = 0; m < 12; ++m) {
            for (int s = 0; s < 2; ++s) {
                const QString &cell = cells[m * 2 + s];
                sheet.Readings[KLRecord::readingIndex(s + 1, m + 1)] =
                    cell.isEmpty() ? KLRecord::kNoReading : cell.toInt();
            }
        }
        sheet.Idopont = "2026.03.07 9:05";
        sheet.Helyszin = "Rendelő";
        sheet.Statusz = "Fáradtság,\nalvászavar";
        sheet.Egyeb = "Kontroll egy hónap múlva";
        return sheet;
    }

    QString writeReport(const QString &catalogueFile, const KLRecord &sheet = workedSheet())
    {
        const Catalogue catalogue(asset(catalogueFile));
        const PatientReport report =
            PatientReport::build({"Kovács Éva", "BQCD0007", "1970.05.17."}, sheet, catalogue);
        const QString pdf = m_dir.filePath(catalogueFile + ".pdf");
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        ReportPainter pages(report, catalogue, QImage(asset("circ1.bmp")),
                            QImage(asset("circ2.bmp")),
                            {"Tavimer", QDateTime(QDate(2026, 3, 7), QTime(10, 0))});
        QPainter painter(&writer);
        pages.paint(painter, writer);
        painter.end();
        return pdf;
    }

private slots:
    void initTestCase() { FontSubstitutes::install(); }

    void reportOfTheWorkedExampleIsThreeSearchablePages()
    {
        const QString pdf = writeReport("tavimer.dat");
        QCOMPARE(PdfTools::pages(pdf), 3);
        const QString first = PdfTools::text(pdf, 1);
        QVERIFY2(first.contains("Kovács Éva") && first.contains("BQCD0007") &&
                     first.contains("Rendelő") && first.contains("alvászavar"),
                 qPrintable(first));
        // The left and right tables stand side by side; St right has no reading.
        const QStringList names = {"kék", "világoskék", "zöld", "világospiros", "piros"};
        for (int m = 0; m < 12; ++m) {
            const QLocale hu(QLocale::Hungarian);
            const QString both = row(m, 0, "Bal", names, hu) + ' ' + row(m, 1, "Jobb", names, hu);
            QVERIFY2(first.contains(both), qPrintable(both));
        }
        QVERIFY(first.contains("Átlag 69"));
        QVERIFY(first.contains("1. oldal / 3") && first.contains("2026. 03. 07."));
        const QString second = PdfTools::text(pdf, 2);
        for (const char *code : kMeridians)
            QVERIFY2(second.contains(code), code);
        QVERIFY(second.contains("Bal kéz - Férj"));
        QCOMPARE(PdfTools::images(pdf, 1), 0);
        QCOMPARE(PdfTools::images(pdf, 2), 0);
        QCOMPARE(PdfTools::images(pdf, 3), 2);
    }

    void reportSpeaksTheCataloguesLanguage()
    {
        const QString pdf = writeReport("tavimer-en.dat");
        const QString first = PdfTools::text(pdf, 1);
        const QStringList names = {"blue", "light blue", "green", "light red", "red"};
        QVERIFY2(first.contains("Treatment report") && first.contains("Page 1 / 3") &&
                     first.contains(row(Evaluation::St, 1, "Right", names, QLocale::English)) &&
                     first.contains(row(Evaluation::Sp, 0, "Left", names, QLocale::English)),
                 qPrintable(first));
    }

    void reportShowsWhatASheetHoldsInFull_data()
    {
        QTest::addColumn<QString>("remark");
        QTest::addColumn<bool>("readings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("long word") << QString(80, 'W') << true << QString(80, 'W');
        QTest::newRow("no readings")
            << QString() << false << QString("A kezelőlapon nincs mért érték.");
    }

    void reportShowsWhatASheetHoldsInFull()
    {
        QFETCH(QString, remark);
        QFETCH(bool, readings);
        QFETCH(QString, expected);
        KLRecord sheet = workedSheet();
        sheet.Egyeb = remark;
        if (!readings)
            sheet.Readings.fill(KLRecord::kNoReading);
        const QString text = PdfTools::text(writeReport("tavimer.dat", sheet), 1);
        QVERIFY2(text.simplified().remove(' ').contains(QString(expected).remove(' ')),
                 qPrintable(text));
    }

    // 40 short lines fill a status of 240 characters; the box of ten lines cut them.
    void manyShortStatusLinesAreAllShown()
    {
        KLRecord sheet = workedSheet();
        QStringList lines;
        for (int i = 1; i <= 40; ++i)
            lines << QString("st%1").arg(i, 2, 10, QChar('0'));
        sheet.Statusz = lines.join("\r\n");
        const QString text = PdfTools::text(writeReport("tavimer.dat", sheet), 1);
        for (const QString &line : lines)
            QVERIFY2(text.contains(line), qPrintable(line));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
