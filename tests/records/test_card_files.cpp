// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cp1250.h"
#include "records/AccentFolding.h"
#include "records/CardFile.h"
#include "records/CardListing.h"
#include "records/CardText.h"
#include "records/PatientDisplayName.h"
#include "records/PatientId.h"
#include "records/RecordDates.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray card(const QString &name, const QString &birth)
{
    return Cp1250::fromUnicode("[SzemelyiAdatok]\r\nNev=" + name + "\r\nSzulDatum=" + birth +
                               "\r\n");
}

} // namespace

class TestCardFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString db() const { return m_dir->path() + "/"; }
    QString arc() const { return db() + "arc/"; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(arc());
    }

    void anyFileOfAnIdInEitherFolderKeepsItTaken()
    {
        const QDate may17(2024, 5, 17);
        QCOMPARE(PatientId::NewPatientId(may17, db(), arc()), QString("BXEQ0001"));
        const QStringList extensions = {".sza",  ".anm",  ".pan",  ".kl",
                                        ".~sza", ".~anm", ".~pan", ".~kl"};
        for (int i = 0; i < extensions.size(); ++i) {
            QVERIFY(writeFile(
                (i % 2 ? arc() : db()) + PatientId::format(may17, i + 1) + extensions[i], ""));
        }
        QVERIFY(writeFile(db() + "BXEQ0009.txt", ""));
        QCOMPARE(PatientId::NewPatientId(may17, db(), arc()), QString("BXEQ0009"));
    }

    void dateLettersWrapAtTwentyFive()
    {
        QCOMPARE(PatientId::dateLetters(QDate(2024, 5, 25)), QString("XE@"));
        QCOMPARE(PatientId::dateLetters(QDate(2024, 5, 1)), QString("XEA"));
        QCOMPARE(PatientId::dateLetters(QDate(2024, 5, 26)), QString("XEA"));
        QCOMPARE(PatientId::dateLetters(QDate(2025, 12, 31)), QString("@LF"));
        QCOMPARE(PatientId::dateLetters(QDate(2026, 1, 24)), QString("AAX"));
        QCOMPARE(PatientId::format(QDate(2024, 5, 17), 9999), QString("BXEQ9999"));
    }

    void aFullDateCodeGivesNoId()
    {
        const QDate day(2024, 5, 17);
        for (int n = 1; n <= 9999; ++n)
            QVERIFY(writeFile(db() + PatientId::format(day, n) + ".sza", ""));
        QCOMPARE(PatientId::NewPatientId(day, db(), arc()), QString());
    }

    void foldingTouchesOnlyHungarianAccents()
    {
        QCOMPARE(AccentFolding::FoldAccents(QString::fromUtf8("ÁÉÍÓŐÖÚŰÜáéíóőöúűü čÄ")),
                 QString::fromUtf8("AEIOOOUUUaeiooouuu čÄ"));
        QCOMPARE(AccentFolding::searchKey(QString::fromUtf8("ödön ő")), QByteArray("ODON O"));
        QCOMPARE(AccentFolding::searchKey(QString::fromUtf8("č")), QByteArray("\xE8"));
    }

    void listsSortAccentsBesideTheirLettersWithoutRegardToCase()
    {
        QStringList names = {QString::fromUtf8("Zoltán"),
                             QString::fromUtf8("Ödön"),
                             "odett",
                             "Oszkar",
                             QString::fromUtf8("Ábel"),
                             "adam",
                             "Kis Anna",
                             "Kiss"};
        CardListing::sort(names);
        const QStringList expected = {QString::fromUtf8("Ábel"),
                                      "adam",
                                      "Kis Anna",
                                      "Kiss",
                                      "odett",
                                      QString::fromUtf8("Ödön"),
                                      "Oszkar",
                                      QString::fromUtf8("Zoltán")};
        QCOMPARE(names, expected);
    }

    void typingSelectsTheFirstNameNotBeforeIt()
    {
        QStringList lines;
        for (const char *name : {"Zoltán Péter", "Ödön Kis", "Ádám Nagy", "Oláh Béla", "Óvári Ede"})
            lines << CardListing::line(QString::fromUtf8(name), "", "BXEQ0001.sza");
        CardListing::sort(lines);
        auto selected = [&lines](const char *typed) {
            const int row = CardListing::findLine(lines, QString::fromUtf8(typed));
            return row < 0 ? QString() : lines[row].left(12).trimmed();
        };
        QCOMPARE(selected("odon"), QString::fromUtf8("Ödön Kis"));
        QCOMPARE(selected("ÖDÖN"), QString::fromUtf8("Ödön Kis"));
        QCOMPARE(selected("o"), QString::fromUtf8("Ödön Kis"));
        QCOMPARE(selected("Ö"), QString::fromUtf8("Ödön Kis"));
        QCOMPARE(selected("ola"), QString::fromUtf8("Oláh Béla"));
        // Typed with combining accents, as some keyboards and pastes give them.
        QCOMPARE(selected("O\xcc\x81va"), QString::fromUtf8("Óvári Ede"));
        QCOMPARE(selected("p"), QString::fromUtf8("Zoltán Péter"));
        QCOMPARE(selected("zz"), QString());
        QCOMPARE(selected(""), QString());
    }

    void listLinesHaveFixedColumns()
    {
        const QString line =
            CardListing::line(QString(40, 'N'), "1970.05.17. extra", "BXEQ0001.sza");
        QCOMPARE(line.size(), 50);
        QCOMPARE(line.mid(0, 31), QString(30, 'N') + " ");
        QCOMPARE(line.mid(31, 11), QString("1970.05.17 "));
        QCOMPARE(CardListing::idOf(line), QString("BXEQ0001"));
        QCOMPARE(CardListing::line("Kis", "", "BXEQ0001.sza"),
                 "Kis" + QString(27, ' ') + " " + QString(10, ' ') + " BXEQ0001");
    }

    void folderListingSkipsBackupsArchiveAndOddNames()
    {
        QVERIFY(writeFile(db() + "BXEQ0002.sza", card(QString::fromUtf8("Ödön"), "1970")));
        QVERIFY(writeFile(db() + "BXEQ0001.sza", card("Zoltan", "")));
        QVERIFY(writeFile(db() + "BXEQ0003.~sza", card("Backup", "")));
        QVERIFY(writeFile(arc() + "BXEQ0004.sza", card("Archived", "")));
        QVERIFY(writeFile(db() + "BXEQ005.sza", card("Short", "")));
        QVERIFY(writeFile(db() + "BXEQ00066.sza", card("Long", "")));
        QVERIFY(writeFile(db() + "XXEQ0007.sza", card("NotB", "")));
        QVERIFY(writeFile(db() + "BXEQ0008.sza", QByteArray("\0\x01\xFF[garbage\n=\r", 14)));
        const QStringList lines = CardListing::lines(db());
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString(50 - 8, ' ') + "BXEQ0008");
        QVERIFY(lines[1].startsWith(QString::fromUtf8("Ödön")));
        QCOMPARE(CardListing::idOf(lines[1]), QString("BXEQ0002"));
        QCOMPARE(CardListing::idOf(lines[2]), QString("BXEQ0001"));
    }

    void personalDataIsWrittenInKeyOrderInWindows1250()
    {
        QStringList values;
        for (int i = 0; i < 17; ++i)
            values << QString("v%1").arg(i);
        values[0] = QString::fromUtf8("Kovács Ödön");
        QVERIFY(CardFile::writePersonal(db() + "B.sza", values));
        QByteArray expected = "[SzemelyiAdatok]\r\n";
        for (int i = 0; i < 17; ++i)
            expected += Cp1250::fromUnicode(CardFile::keys()[i] + "=" + values[i]) + "\r\n";
        QCOMPARE(readFile(db() + "B.sza"), expected);
        QCOMPARE(CardFile::readPersonal(db() + "B.sza"), values);
    }

    void existingCardKeepsItsOtherLinesAndOrder()
    {
        QVERIFY(writeFile(db() + "B.sza", "; note\r\n[SzemelyiAdatok]\r\nID=old\r\nNev=old\r\n"
                                          "[Other]\r\nX=1\r\n"));
        QStringList values(17);
        values[0] = "new";
        QVERIFY(CardFile::writePersonal(db() + "B.sza", values));
        const QByteArray bytes = readFile(db() + "B.sza");
        QVERIFY(bytes.startsWith("; note\r\n[SzemelyiAdatok]\r\nID=\r\nNev=new\r\nSzulDatum=\r\n"));
        QVERIFY(bytes.endsWith("[Other]\r\nX=1\r\n"));
    }

    void aLongValueReadCutIsNotWrittenBackCut()
    {
        const QByteArray huge(1 << 20, 'x');
        QVERIFY(writeFile(db() + "B.sza", "[SzemelyiAdatok]\r\nNev=" + huge + "\r\n"));
        QStringList values = CardFile::readPersonal(db() + "B.sza");
        QCOMPARE(values[0].size(), 2047);
        values[2] = "F";
        QVERIFY(CardFile::writePersonal(db() + "B.sza", values));
        QVERIFY(readFile(db() + "B.sza").contains("Nev=" + huge + "\r\n"));
        QCOMPARE(CardFile::readPersonal(db() + "B.sza")[2], QString("F"));
    }

    void lineBreaksInAValueNeverMakeAKeyOrASection()
    {
        QStringList values(17);
        values[7] = QString::fromUtf8("Fő utca 1.\r\nID=BXEQ0009\n[Other]\rX=1");
        values[15] = "BXEQ0001";
        QVERIFY(CardFile::writePersonal(db() + "B.sza", values));
        QCOMPARE(readFile(db() + "B.sza").count("\r\n"), 18);
        values[7] = QString::fromUtf8("Fő utca 1. ID=BXEQ0009 [Other] X=1");
        QCOMPARE(CardFile::readPersonal(db() + "B.sza"), values);
    }

    void missingCardReadsEmpty()
    {
        QCOMPARE(CardFile::readPersonal(db() + "none.sza"), QStringList(17));
    }

    void memosAreCrLfTextWithoutFinalBreak()
    {
        QVERIFY(CardFile::writeMemo(db() + "B.anm", QString::fromUtf8("első\nmásodik")));
        QCOMPARE(readFile(db() + "B.anm"), QByteArray("els\xF5\r\nm\xE1sodik"));
        QVERIFY(CardFile::writeMemo(db() + "B.pan", ""));
        QVERIFY(QFile::exists(db() + "B.pan"));
        QCOMPARE(readFile(db() + "B.pan"), QByteArray());
        QVERIFY(writeFile(db() + "B.anm", "a\rb\nc\r\nd"));
        QString text;
        QVERIFY(CardFile::readMemo(db() + "B.anm", text));
        QCOMPARE(text, QString("a\nb\nc\nd"));
        QVERIFY(CardFile::readMemo(db() + "none.anm", text));
        QCOMPARE(text, QString());
    }

    void unreadableOrUnwritableCardFilesReportFailure()
    {
        QVERIFY(writeFile(db() + "file", "x"));
        QVERIFY(!CardFile::writePersonal(db() + "file/B.sza", QStringList(17)));
        QVERIFY(!CardFile::writeMemo(db() + "file/B.anm", "x"));
        QDir().mkpath(db() + "dir.sza");
        QVERIFY(!CardFile::writePersonal(db() + "dir.sza", QStringList(17)));
        QDir().mkpath(db() + "dir.anm");
        QString text;
        QVERIFY(!CardFile::readMemo(db() + "dir.anm", text));
    }

    void deletingReplacesOlderBackupsAndSkipsMissingFiles()
    {
        const QString base = db() + "BXEQ0001";
        QVERIFY(writeFile(base + ".sza", "new sza"));
        QVERIFY(writeFile(base + ".kl", "new kl"));
        QVERIFY(writeFile(base + ".~kl", "old kl"));
        QVERIFY(writeFile(base + ".~anm", "old anm"));
        CardFile::moveToBackups(base);
        QVERIFY(!QFile::exists(base + ".sza"));
        QVERIFY(!QFile::exists(base + ".kl"));
        QCOMPARE(readFile(base + ".~sza"), QByteArray("new sza"));
        QCOMPARE(readFile(base + ".~kl"), QByteArray("new kl"));
        QCOMPARE(readFile(base + ".~anm"), QByteArray("old anm"));
    }

    void bodyMassIndexText()
    {
        QCOMPARE(CardText::bodyMassIndex("175", "70"), QString(" 22.86"));
        QCOMPARE(CardText::bodyMassIndex("100", "123.456"), QString());
        QCOMPARE(CardText::bodyMassIndex("90", "100"), QString("123.46"));
        QCOMPARE(CardText::bodyMassIndex("175", "70,5"), QString());
        QCOMPARE(CardText::bodyMassIndex("0", "70"), QString());
        QCOMPARE(CardText::bodyMassIndex("", "70"), QString());
        QCOMPARE(CardText::bodyMassIndex("abc", "70"), QString());
    }

    void captionCarriesTheNameAfterOneHyphen()
    {
        QCOMPARE(CardText::captionWithPatient("Sorvendi", "Kis Anna"),
                 QString("Sorvendi - Kis Anna"));
        QCOMPARE(CardText::captionWithPatient("Sorvendi - Kis Anna", "Nagy"),
                 QString("Sorvendi - Nagy"));
        QCOMPARE(CardText::captionWithPatient("Sorvendi - Kis Anna", ""), QString("Sorvendi"));
        QCOMPARE(CardText::captionWithPatient("Sorvendi -x", "B"), QString("Sorvendi - B"));
    }

    void hiddenNamesShowInitialsAndTheId_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("initials");
        QTest::newRow("accents, blanks, quote, tab, no letter")
            << QString(" ábrahám - \"őri\"\t éva ") << QString("Á. Ő. É.");
        QTest::newRow("one word") << QString("Lukács") << QString("L.");
        QTest::newRow("empty") << QString() << QString();
    }

    void hiddenNamesShowInitialsAndTheId()
    {
        QFETCH(QString, name);
        QFETCH(QString, initials);
        const QString line = CardListing::line(name, "1971.03.12", "BAAA0093.sza");
        QCOMPARE(PatientDisplayName::hiddenLine(line), initials.leftJustified(42) + "BAAA0093");
        QCOMPARE(PatientDisplayName::inCaption(name, "B1", true), name.isEmpty() ? name : "B1");
    }

    void sheetTimeIsNumericAndWhole_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("German") << "de_DE" << QTime(14, 3, 5) << "17.05.24 14:03:05";
        QTest::newRow("Hungarian, too long")
            << "hu_HU" << QTime(14, 3, 5) << "2024.05.17. 14:03:05";
        QTest::newRow("English hours") << "en_US" << QTime(14, 3, 5) << "2024.05.17. 14:03:05";
        QTest::newRow("month name") << "C" << QTime(14, 3, 5) << "2024.05.17. 14:03:05";
        QTest::newRow("midnight") << "C" << QTime(0, 0) << "2024.05.17.";
    }

    void sheetTimeIsNumericAndWhole()
    {
        QFETCH(QString, locale);
        QFETCH(QTime, time);
        QFETCH(QString, expected);
        QCOMPARE(RecordDates::withoutTimeZone("h:mm:ss AP 'at' t"), QString("h:mm:ss AP 'at'"));
        QCOMPARE(RecordDates::sheetTime(QDateTime(QDate(2024, 5, 17), time), QLocale(locale)),
                 expected);
    }

    void birthdayNeedsTheSameMonthAndDay()
    {
        const QString birth = RecordDates::shortDate(QDate(1970, 5, 17));
        QVERIFY(RecordDates::isBirthday(birth, QDate(2024, 5, 17)));
        QVERIFY(!RecordDates::isBirthday(birth, QDate(2024, 5, 18)));
        QVERIFY(!RecordDates::isBirthday("not a date", QDate(2024, 5, 17)));
        QVERIFY(!RecordDates::isBirthday("", QDate(2024, 5, 17)));
        // Typed the usual way rather than in the exact short format.
        QVERIFY(RecordDates::isBirthday("1970. 5. 17.", QDate(2024, 5, 17)));
    }

    void birthDatesAreReadInTheFormatsOrderWithAnySeparators()
    {
        const QDate may17(2000, 5, 17);
        for (const char *text :
             {"1970.05.17.", "1970. 5. 17.", "1970-05-17", "1970/5/17", " 1970 05 17 "})
            QCOMPARE(RecordDates::monthAndDay(text, "yyyy. MM. dd."), may17);
        QCOMPARE(RecordDates::monthAndDay("17/05/1970", "dd/MM/yyyy"), may17);
        QCOMPARE(RecordDates::monthAndDay("1970. 5. 17.", "dd/MM/yyyy"), may17);
        QCOMPARE(RecordDates::monthAndDay("5/17/70", "M/d/yy"), may17);
        QCOMPARE(RecordDates::monthAndDay("17. 5. 1970", "d 'de' M. yyyy"), may17);
        QCOMPARE(RecordDates::monthAndDay("1972.02.29.", "yyyy.MM.dd."), QDate(2000, 2, 29));
        for (const char *text :
             {"1970.13.01", "1970.02.30", "1970.05", "1970.05.17.10", "1970.05.x", ""})
            QCOMPARE(RecordDates::monthAndDay(text, "yyyy.MM.dd."), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestCardFiles)
#include "test_card_files.moc"
