// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "measure/ReadingsOwner.h"
#include "records/RecordDates.h"

#include <QtTest>

using Decision = ReadingsOwner::Decision;
Q_DECLARE_METATYPE(Decision)
Q_DECLARE_METATYPE(GridOrigin)

namespace {
const QDateTime kNow(QDate(2026, 12, 9), QTime(14, 3, 5));
const QString kA = QString::fromUtf8("Kovács Árvíztűrő Éva");

GridOrigin sheetOfA()
{
    return GridOrigin::ofSheet("BXEQ0001", kA, "2026.11.02. 09:15:00", "1970.05.17");
}
} // namespace

class TestReadingsOwner : public QObject
{
    Q_OBJECT

    Catalogue m_hungarian{qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat"};

private slots:
    void storedReadingsAreStoredAgainOnlyOnTheUsersWord_data()
    {
        QTest::addColumn<GridOrigin>("origin");
        QTest::addColumn<QString>("card");
        QTest::addColumn<Decision>("decision");
        const GridOrigin fresh = GridOrigin::ofMeasurement(kNow, QString(), QString());
        const GridOrigin freshOfA = GridOrigin::ofMeasurement(kNow, "BXEQ0001", kA);
        QTest::newRow("measured with no card open") << fresh << "BXEQ0002" << Decision::Save;
        QTest::newRow("measured on this card") << freshOfA << "BXEQ0001" << Decision::Save;
        QTest::newRow("measured on another card")
            << freshOfA << "BXEQ0002" << Decision::AskMeasuredOther;
        QTest::newRow("a sheet of this card")
            << sheetOfA() << "BXEQ0001" << Decision::AskStoredAgain;
        QTest::newRow("a sheet of another card")
            << sheetOfA() << "BXEQ0002" << Decision::AskStoredOther;
    }

    void storedReadingsAreStoredAgainOnlyOnTheUsersWord()
    {
        QFETCH(GridOrigin, origin);
        QFETCH(QString, card);
        QFETCH(Decision, decision);
        QCOMPARE(ReadingsOwner::decide(origin, card), decision);
        // Stored readings keep the time they were taken; a measurement is dated now.
        QCOMPARE(ReadingsOwner::sheetTime(origin, kNow),
                 origin.saved ? origin.taken : RecordDates::sheetTime(kNow));
    }

    void questionNamesBothPatientsWithIdAndBirthDate()
    {
        const ReadingsOwner::Patient b{"BXEQ0002", kA, "1981.02.03"};
        const QString text =
            ReadingsOwner::question(Decision::AskStoredOther, sheetOfA(), b, false, m_hungarian);
        QVERIFY2(text.contains(kA + QString::fromUtf8(" (BXEQ0001, szül. 1970.05.17)")) &&
                     text.contains(kA + QString::fromUtf8(" (BXEQ0002, szül. 1981.02.03)")) &&
                     text.contains("2026.11.02. 09:15:00"),
                 qPrintable(text));
        // While names are hidden the screen shows ids only.
        const QString hidden =
            ReadingsOwner::question(Decision::AskStoredOther, sheetOfA(), b, true, m_hungarian);
        QVERIFY(hidden.contains("BXEQ0001") && hidden.contains("BXEQ0002") && !hidden.contains(kA));
    }

    void captionSaysWhoseReadingsAWindowShows_data()
    {
        QTest::addColumn<GridOrigin>("origin");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("caption");
        QTest::newRow("nothing yet") << GridOrigin() << false << "Mérés";
        QTest::newRow("unsaved measurement")
            << GridOrigin::ofMeasurement(kNow, "BXEQ0001", kA) << false
            << "Mérés - mentetlen mérés, még nincs kartonon";
        QTest::newRow("a sheet") << sheetOfA() << false
                                 << "Mérés - " + kA + " (BXEQ0001, szül. 1970.05.17)";
        QTest::newRow("no birth date") << GridOrigin::ofSheet("BXEQ0003", "Kis Ede", "x") << false
                                       << "Mérés - Kis Ede (BXEQ0003)";
        QTest::newRow("names hidden") << sheetOfA() << true << "Mérés - BXEQ0001";
    }

    void captionSaysWhoseReadingsAWindowShows()
    {
        QFETCH(GridOrigin, origin);
        QFETCH(bool, hidden);
        QFETCH(QString, caption);
        QCOMPARE(ReadingsOwner::caption(QString::fromUtf8("Mérés"), origin, hidden, m_hungarian),
                 caption);
    }
};

QTEST_GUILESS_MAIN(TestReadingsOwner)
#include "test_readings_owner.moc"
