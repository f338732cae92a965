// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfTools.h"
#include "SheetReadings.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmPrint.h"
#include "records/SheetTabBar.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"
#include "support/CardsProgram.h"

#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

namespace {

KLRecord sheet(const QString &time, const SheetComparison::Readings &readings)
{
    KLRecord record;
    record.Idopont = time;
    record.Readings = readings;
    return record;
}

void writeCard(const QString &base, const QString &name, const QList<KLRecord> &sheets)
{
    QFile card(base + ".sza");
    QVERIFY(card.open(QIODevice::WriteOnly));
    card.write("[SzemelyiAdatok]\r\nNev=" + name.toLatin1() + "\r\n");
    QFile file(base + ".kl");
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const KLRecord &record : sheets)
        file.write(record.bytes());
}

// Figures "balanced/present"; a sheet without readings has none.
QString summary(const QString &before, const QString &after, double spreadBefore,
                double spreadAfter)
{
    auto spread = [](double value) {
        return value < 0 ? QString("–") : QLocale("hu").toString(value, 'f', 1);
    };
    return QString("Kiegyensúlyozott pontok: %1 → %2   Szórás: %3 → %4")
        .arg(before, after, spread(spreadBefore), spread(spreadAfter));
}

} // namespace

// The comparison window in the running program, on cards of three sheets and of one.
class TestCompareWindow : public QObject
{
    Q_OBJECT

    CardsProgram m_program;

private slots:
    void initTestCase()
    {
        // Numbers follow the program's language, not the system's.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_program.start();
        m_program.reset();
        const QString db = m_program.db();
        SheetComparison::Readings missing;
        missing.fill(-1);
        writeCard(db + "BXEQ0001", "Kis Anna",
                  {sheet("2026.01.05 10:00:00", sheetReadings(workedExample())),
                   sheet("2026.01.05 11:00:00", allHundreds()),
                   sheet("2026.01.12 10:00:00", missing)});
        writeCard(db + "BXEQ0002", "Nagy Béla", {sheet("2026.02.01 09:00:00", allHundreds())});
    }

    void cleanupTestCase() { m_program.stop(); }

    void opensFromTheSheetPageWithTheSelectedSheetAndTheOneBefore()
    {
        ModalScript script({findAndPick("kis")});
        frmKarton->bKeres->click();
        frmKarton->Karton->setCurrentIndex(TfrmKarton::kSheetPage);
        frmKarton->LapokTabs->setCurrentIndex(1);
        frmKarton->bCompare->click();
        QCOMPARE(frmMain->mdiArea()->activeSubWindow(), frmCompare->subWindow());
        QCOMPARE(frmCompare->cbElotte->currentText(), QString("1. 2026.01.05 10:00:00"));
        QCOMPARE(frmCompare->cbUtana->currentText(), QString("2. 2026.01.05 11:00:00"));
        QCOMPARE(frmCompare->cbUtana->count(), 3);
        QCOMPARE(frmCompare->stSummary->text(), summary("18/23", "14/24", 6.5, 6.4));
        QCOMPARE(frmCompare->grTabla->item(9, 4)->text(), QString("21,3"));
        QCOMPARE(frmCompare->grTabla->item(9, 4)->background().color(), QColor(255, 0, 0));
        QCOMPARE(frmCompare->srPairs->barSets()[1]->at(9),
                 SheetComparison::summarise(allHundreds()).result.Deviation[4][1]);
        // The sheet without readings is left out of the course.
        QCOMPARE(frmCompare->srCourse->points(), QList<QPointF>({{1, 18}, {2, 14}}));
        QCOMPARE(frmCompare->srAfter->points(), QList<QPointF>({{2, 14}}));

        frmCompare->cbElotte->setCurrentIndex(2);
        QCOMPARE(frmCompare->stSummary->text(), summary("nincs mért érték", "14/24", -1, 6.4));
        QCOMPARE(frmCompare->grTabla->item(9, 4)->text(), QString("–"));
        QVERIFY(frmCompare->srBefore->points().isEmpty());
    }

    void printsLikeAnyFrontWindow()
    {
        const QString pdf = m_program.filePath("compare.pdf");
        frmPrint->choosePrinter = [pdf](QPrinter &printer) {
            printer.setOutputFileName(pdf);
            return true;
        };
        // Every row on paper, though the window shows only some of them.
        frmCompare->subWindow()->resize(760, 520);
        frmMain->sbPrint->click();
        const QString text = PdfTools::text(pdf, 1);
        QCOMPARE(text.count(QRegularExpression("\\bBal\\b")), 12);
        QCOMPARE(text.count(QRegularExpression("\\bJobb\\b")), 12);
        // The captions of the choices and the legend's.
        QCOMPARE(text.count("Előtte"), 2);
        QCOMPARE(text.count("Utána"), 2);
        QVERIFY2(text.contains("Kis Anna (BXEQ0001)"), qPrintable(text));

        // A wide window still gives a page filled from top to bottom, not a strip of small type.
        frmCompare->subWindow()->resize(1270, 700);
        frmMain->sbPrint->click();
        const QImage page = PdfTools::picture(pdf, 1, 30);
        QVERIFY(!page.isNull());
        int lowest = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 200)
                    lowest = y;
            }
        }
        QVERIFY2(lowest > page.height() * 3 / 4, qPrintable(QString::number(lowest)));
    }

    void followsTheOpenCard()
    {
        // Another card, seen or not: the first sheet is compared with itself.
        frmMain->bringToFront(frmKarton);
        ModalScript script({findAndPick("nagy")});
        frmKarton->bKeres->click();
        frmMain->bringToFront(frmCompare);
        QTRY_COMPARE(frmCompare->cbUtana->count(), 1);
        QCOMPARE(frmCompare->stSummary->text(), summary("14/24", "14/24", 6.4, 6.4));

        ModalScript yes({ModalScript::answer(QMessageBox::Yes)});
        frmKarton->bDeleteKLClick();
        QTRY_COMPARE(frmCompare->cbUtana->count(), 0);
        QCOMPARE(frmCompare->stSummary->text(), QString("Nincs összehasonlítható kezelőlap"));
        QVERIFY(frmCompare->srCourse->points().isEmpty());

        ModalScript again({findAndPick("kis")});
        frmKarton->bKeres->click();
        QTRY_COMPARE(frmCompare->cbUtana->count(), 3);
        QCOMPARE(frmCompare->cbUtana->currentIndex(), 0);
        frmKarton->bBezarClick();
        QTRY_COMPARE(frmCompare->cbUtana->count(), 0);
        QVERIFY(!frmCompare->cbUtana->isEnabled());
    }
};

QTEST_MAIN(TestCompareWindow)
#include "test_compare_window.moc"
