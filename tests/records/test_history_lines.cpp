// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "platform/Cp1250.h"
#include "records/HistoryLines.h"
#include "records/HistoryVersion.h"

#include <QtTest>

Q_DECLARE_METATYPE(HistoryLines::PutBack)

// The change log in words, in both shipped languages, and what a put back would mean.
class TestHistoryLines : public QObject
{
    Q_OBJECT

private slots:
    void eachChangeReadsInBothLanguages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("hungarian");
        QTest::addColumn<QString>("english");
        QTest::addColumn<HistoryLines::PutBack>("putBack");
        using P = HistoryLines::PutBack;
        const QString v = "v.gz";
        QTest::newRow("created") << "card-created"
                                 << ".sza" << 0 << ""
                                 << "" << QString::fromUtf8("Új karton") << "New card" << P::None;
        QTest::newRow("personal") << "personal"
                                  << ".sza" << 0 << v << "" << QString::fromUtf8("Személyi adatok")
                                  << "Personal data" << P::Version;
        QTest::newRow("anamnesis") << "anamnesis"
                                   << ".anm" << 0 << v << ""
                                   << "Anamnaesis"
                                   << "Anamnesis" << P::Version;
        QTest::newRow("complaints") << "complaints"
                                    << ".pan" << 0 << v << ""
                                    << "Panaszok"
                                    << "Complaints" << P::Version;
        QTest::newRow("sheet added")
            << "sheet-added"
            << ".kl" << 3 << ""
            << "" << QString::fromUtf8("3. kezelőlap: új") << "Sheet 3: new" << P::None;
        QTest::newRow("sheet notes")
            << "sheet-notes"
            << ".kl" << 3 << v << "" << QString::fromUtf8("3. kezelőlap: jegyzetek")
            << "Sheet 3: notes" << P::Version;
        QTest::newRow("sheet deleted")
            << "sheet-deleted"
            << ".kl" << 3 << v << "" << QString::fromUtf8("3. kezelőlap törölve")
            << "Sheet 3 deleted" << P::Sheet;
        QTest::newRow("card deleted, one file")
            << "card-deleted"
            << ".anm" << 0 << v << "" << QString::fromUtf8("Karton törölve: Anamnaesis")
            << "Card deleted: Anamnesis" << P::None;
        QTest::newRow("archived") << "card-archived"
                                  << "" << 0 << ""
                                  << "" << QString::fromUtf8("Karton archiválva") << "Card archived"
                                  << P::None;
        QTest::newRow("put back notes")
            << "put-back"
            << ".kl" << 2 << v << "x.kl.gz"
            << QString::fromUtf8("Visszaállítva: 2. kezelőlap: jegyzetek")
            << "Put back: Sheet 2: notes" << P::Version;
        QTest::newRow("sheet brought back") << "sheet-brought-back"
                                            << ".kl" << 1 << ""
                                            << "" << QString::fromUtf8("1. kezelőlap visszahozva")
                                            << "Sheet 1 brought back" << P::None;
        QTest::newRow("card back, new id")
            << "card-brought-back"
            << "" << 0 << ""
            << "BXEQ0001" << QString::fromUtf8("Karton visszahozva, korábbi azonosítója BXEQ0001")
            << "Card brought back, formerly BXEQ0001" << P::None;
        QTest::newRow("a later program's change") << "signed"
                                                  << "" << 0 << v << ""
                                                  << "signed"
                                                  << "signed" << P::None;
    }
    void eachChangeReadsInBothLanguages()
    {
        QFETCH(QString, action);
        QFETCH(QString, file);
        QFETCH(int, sheet);
        QFETCH(QString, version);
        QFETCH(QString, note);
        HistoryEntry entry;
        entry.action = action;
        entry.file = file;
        entry.sheet = sheet;
        entry.version = version;
        entry.note = note;
        QTEST(HistoryLines::what(entry, Catalogue(QString(), "hu")), "hungarian");
        QTEST(HistoryLines::what(entry, Catalogue(QString(), "en")), "english");
        QTEST(HistoryLines::putBack(entry), "putBack");
    }

    void newestChangeComesFirst()
    {
        HistoryEntry older;
        older.when = QDateTime(QDate(2026, 12, 9), QTime(17, 40, 12, 345));
        older.action = "personal";
        older.file = ".sza";
        HistoryEntry newer = older;
        newer.when = older.when.addSecs(61);
        newer.action = "card-archived";
        const QList<HistoryLines::Line> lines =
            HistoryLines::lines({older, newer}, Catalogue(QString(), "en"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].what, QString("Card archived"));
        QCOMPARE(lines[0].entry, 1);
        QCOMPARE(lines[1].when, QString("2026-12-09 17:40:12"));
    }

    void personalVersionHidesNamesOnlyWhenAsked()
    {
        const QByteArray sza = Cp1250::fromUnicode(
            QString::fromUtf8("[SzemelyiAdatok]\r\nNev=Kiss Ágnes\r\nAnyjaNeve=Nagy Éva\r\n"
                              "Helyseg=Pécs\r\n"));
        const HistoryVersion version = HistoryVersion::decode(".sza", sza);
        QCOMPARE(version.kind, HistoryVersion::Kind::Personal);
        QCOMPARE(version.personal.size(), 17);
        QCOMPARE(version.personal[0], QString::fromUtf8("Kiss Ágnes"));
        const HistoryVersion hidden = version.withNamesHidden();
        QCOMPARE(hidden.personal[0], QString::fromUtf8("K. Á."));
        QCOMPARE(hidden.personal[4], QString::fromUtf8("N. É."));
        QCOMPARE(hidden.personal[5], QString::fromUtf8("Pécs"));
        QCOMPARE(HistoryVersion::decode(".kl", QByteArray(100, 'x')).kind,
                 HistoryVersion::Kind::Unreadable);
        // A deleted card keeps its whole sheet file: every complete sheet is shown.
        KLRecord sheet;
        sheet.Idopont = "2";
        const QByteArray two = KLRecord().bytes() + sheet.bytes() + "tail";
        QCOMPARE(HistoryVersion::decode(".kl", two).sheets.size(), 2);
        QCOMPARE(HistoryVersion::decode(".kl", two).sheets[1].Idopont, QString("2"));
    }
};

QTEST_GUILESS_MAIN(TestHistoryLines)
#include "test_history_lines.moc"
