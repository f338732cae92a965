// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetReadings.h"

#include <QtTest>

// Before and after computed by hand: the worked example against a set of all 100s.
class TestSheetComparison : public QObject
{
    Q_OBJECT

    const SheetComparison m_comparison{sheetReadings(workedExample()), allHundreds()};

private slots:
    void workedExampleAgainstAllHundredsGivesTheHandComputedSummary()
    {
        QCOMPARE(m_comparison.before().balanced, 18);
        QCOMPARE(m_comparison.after().balanced, 14);
        QCOMPARE(qRound(m_comparison.before().spread * 1000), 6500);
        QCOMPARE(qRound(m_comparison.after().spread * 1000), 6429);
        QCOMPARE(m_comparison.summary("Kiegyensúlyozott pontok", "Szórás", "-", QLocale::c()),
                 QString("Kiegyensúlyozott pontok: 18/23 → 14/24   Szórás: 6.5 → 6.4"));
        QCOMPARE(
            m_comparison.summary("Balanced points", "Spread", "-", QLocale(QLocale::Hungarian)),
            QString("Balanced points: 18/23 → 14/24   Spread: 6,5 → 6,4"));
        SheetComparison::Readings none;
        none.fill(-1);
        QCOMPARE(SheetComparison(none, allHundreds()).summary("B", "S", "no readings"),
                 QString("B: no readings → 14/24   S: – → 6.4"));
    }

    void tableRowsFollowTheGridOrderWithTheChangeOfDistance()
    {
        const QList<SheetComparison::Row> rows = m_comparison.rows();
        QCOMPARE(rows.size(), 24);
        // Th right: 150 (red) to 100 (light blue), 21.32 to -10.77 from balance.
        const SheetComparison::Row &th = rows[9];
        QCOMPARE(th.meridian, int(Evaluation::Th));
        QCOMPARE(th.side, int(Evaluation::Right));
        QCOMPARE(th.readingBefore, 150);
        QCOMPARE(th.readingAfter, 100);
        QCOMPARE(qRound(th.deviationBefore * 100), 2132);
        QCOMPARE(qRound(th.deviationAfter * 100), -1077);
        QCOMPARE(th.colourBefore, Evaluation::kRed);
        QCOMPARE(th.colourAfter, Evaluation::kLightBlue);
        QCOMPARE(qRound(th.change * 100), -1055);
        QCOMPARE(SheetComparison::changeText(th.change, QLocale::c()), QString("-10.5"));
        // Lu left: from -1.45 to -7.77, further from balance.
        QCOMPARE(qRound(rows[0].change * 100), 632);
        QCOMPARE(SheetComparison::changeText(rows[0].change, QLocale::c()), QString("+6.3"));
    }

    void aMissingReadingHasNoClassNoChangeAndShowsADash()
    {
        const SheetComparison::Row st = m_comparison.rows()[23];
        QCOMPARE(st.readingBefore, -1);
        QCOMPARE(SheetComparison::readingText(st.readingBefore), QString("–"));
        QVERIFY(!st.presentBefore && st.presentAfter);
        QCOMPARE(st.colourBefore, Evaluation::kNoClass);
        QCOMPARE(st.change, 0.0);
    }

    void courseCountsTheBalancedPointsOfEverySheet()
    {
        const auto example = sheetReadings(workedExample());
        SheetComparison::Readings missing;
        missing.fill(-1);
        QCOMPARE(SheetComparison::course({example, allHundreds(), missing, example}),
                 QList<int>({18, 14, -1, 18}));
    }

    void defaultPairIsTheSelectedSheetAndTheOneBeforeIt()
    {
        using Pair = QPair<int, int>;
        QCOMPARE(SheetComparison::defaultPair(2, 3), Pair(1, 2));
        QCOMPARE(SheetComparison::defaultPair(0, 3), Pair(0, 0));
        QCOMPARE(SheetComparison::defaultPair(-1, 3), Pair(1, 2));
        QCOMPARE(SheetComparison::defaultPair(0, 0), Pair(-1, -1));
        QCOMPARE(SheetComparison::sheetCaption(0, "2026.01.05 10:00:00"),
                 QString("1. 2026.01.05 10:00:00"));
    }
};

QTEST_APPLESS_MAIN(TestSheetComparison)
#include "test_sheet_comparison.moc"
