// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkedExample.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/Evaluation.h"

#include <QtTest>
#include <cmath>
#include <limits>

class TestEvaluation : public QObject
{
    Q_OBJECT

    using E = Evaluation;

    static E::Cells all(const QString &text)
    {
        E::Cells cells;
        cells.fill(text);
        return cells;
    }

private slots:
    void workedExampleGivesItsDeviationsAndClasses()
    {
        const double left[12] = {-1.45,  -3.40, -2.36, -0.83, 0.16,  4.25,
                                 -12.16, -9.17, 0.30,  3.16,  -1.67, -1.34};
        const double right[12] = {3.06,  -2.36, 0.07,  -3.40, 21.32, 3.45,
                                  -8.95, -5.47, -2.70, 8.51,  -3.75, 0};
        const E::Result r = E::evaluate(workedExample());
        for (int m = 0; m < 12; ++m) {
            QCOMPARE(std::round(r.Deviation[m][0] * 100) / 100, left[m]);
            QCOMPARE(std::round(r.Deviation[m][1] * 100) / 100, right[m]);
        }
        for (int m = 0; m < 12; ++m) {
            const quint32 expectedLeft = m == E::Sp || m == E::Lv ? E::kLightBlue : E::kGreen;
            QCOMPARE(r.ClassColor[m][0], expectedLeft);
        }
        const quint32 expectedRight[12] = {E::kGreen, E::kGreen,    E::kGreen,     E::kGreen,
                                           E::kRed,   E::kGreen,    E::kLightBlue, E::kGreen,
                                           E::kGreen, E::kLightRed, E::kGreen,     E::kNoClass};
        for (int m = 0; m < 12; ++m)
            QCOMPARE(r.ClassColor[m][1], expectedRight[m]);
        // The missing reading still counts 0 in the mean, but has no deviation of its own.
        QCOMPARE(r.presentCount(), 23);
        QVERIFY(!r.Present[E::St][1] && r.Present[E::St][0]);
    }

    void allHundredsLeaveTheFactorsToDecide()
    {
        const E::Result r = E::evaluate(all("100"));
        const double expected[12] = {-7.77, -4.45, 3.33, -4.45, -10.77, -10.77,
                                     -0.86, 7.64,  2.93, 2.93,  8.01,   4.54};
        for (int m = 0; m < 12; ++m) {
            QCOMPARE(std::round(r.Deviation[m][0] * 100) / 100, expected[m]);
            QCOMPARE(r.Deviation[m][1], r.Deviation[m][0]);
        }
        QCOMPARE(r.ClassColor[E::Lu][0], E::kLightBlue);
        QCOMPARE(r.ClassColor[E::Th][1], E::kLightBlue);
        QCOMPARE(r.ClassColor[E::Lv][0], E::kLightRed);
        QCOMPARE(r.ClassColor[E::Gb][1], E::kLightRed);
        QCOMPARE(r.ClassColor[E::St][0], E::kGreen);
    }

    void emptyGridHasNoReadingsAndNoClasses()
    {
        const E::Result r = E::evaluate(all(QString()));
        QCOMPARE(r.presentCount(), 0);
        for (int m = 0; m < 12; ++m) {
            for (int s = 0; s < 2; ++s)
                QCOMPARE(r.ClassColor[m][s], E::kNoClass);
        }
    }

    void meanRoundsHalfToEven()
    {
        QCOMPARE(E::roundedMean(36), 2);
        QCOMPARE(E::roundedMean(60), 2);
        QCOMPARE(E::roundedMean(84), 4);
        QCOMPARE(E::roundedMean(12), 0);
        QCOMPARE(E::roundedMean(1620), 68);
        QCOMPARE(E::roundedMean(1661), 69);
        for (qint64 k = 0; k < 3000; ++k)
            QCOMPARE(E::roundedMean(24 * k + 12), k % 2 == 0 ? k : k + 1);
    }

    void thresholdsBelongToTheClassBelow()
    {
        QCOMPARE(E::classColor(-14), E::kBlue);
        QCOMPARE(E::classColor(std::nextafter(-14.0, 0.0)), E::kLightBlue);
        QCOMPARE(E::classColor(-7), E::kLightBlue);
        QCOMPARE(E::classColor(std::nextafter(-7.0, 0.0)), E::kGreen);
        QCOMPARE(E::classColor(7), E::kGreen);
        QCOMPARE(E::classColor(std::nextafter(7.0, 8.0)), E::kLightRed);
        QCOMPARE(E::classColor(14), E::kLightRed);
        QCOMPARE(E::classColor(std::nextafter(14.0, 15.0)), E::kRed);
    }

    void textThatIsNoIntegerCountsAsZeroAlsoInTheSum()
    {
        E::Cells cells = all("100");
        cells[0] = "12.5";
        cells[1] = "abc";
        E::Cells zeros = all("100");
        zeros[0] = "0";
        zeros[1] = "0";
        const E::Result a = E::evaluate(cells);
        const E::Result b = E::evaluate(zeros);
        for (int m = 0; m < 12; ++m) {
            for (int s = 0; s < 2; ++s)
                QCOMPARE(a.Deviation[m][s], b.Deviation[m][s]);
        }
        QCOMPARE(a.ClassColor[E::Lu][0], E::kBlue);
    }

    void noIntegerInputGivesNaNOrInfinity()
    {
        const QStringList texts = {"-1",         "-40", "-49",         "-2147483648",
                                   "2147483647", "0",   "99999999999", "65535"};
        for (const QString &text : texts) {
            for (const QString &others : {QString("-1000"), QString("2147483647"), QString()}) {
                E::Cells cells = all(others);
                cells[E::Th * 2] = text;
                const E::Result r = E::evaluate(cells);
                for (int m = 0; m < 12; ++m) {
                    for (int s = 0; s < 2; ++s)
                        QVERIFY2(std::isfinite(r.Deviation[m][s]), qPrintable(text + "/" + others));
                }
            }
        }
    }

    void chartNumbersHaveGroupsAndAtMostOrExactlyOneDecimal()
    {
        const QLocale english(QLocale::English);
        QCOMPARE(ChartFormat::axisLabel(-50, english), QString("-50"));
        QCOMPARE(ChartFormat::axisLabel(12.5, english), QString("12.5"));
        QCOMPARE(ChartFormat::axisLabel(-0.01, english), QString("0"));
        QCOMPARE(ChartFormat::axisLabel(1234.56, english), QString("1,234.6"));
        QCOMPARE(ChartFormat::value(7, english), QString("7.0"));
        QCOMPARE(ChartFormat::value(-60.149, english), QString("-60.1"));
        QCOMPARE(ChartFormat::value(12345, english), QString("12,345.0"));
        const QList<double> ticks = ChartFormat::ticks(-50, 50);
        QCOMPARE(ticks.size(), 11);
        QCOMPARE(ticks.first(), -50.0);
        QCOMPARE(ticks[5], 0.0);
        const QList<double> close = ChartFormat::ticks(3.3, 4.1);
        QCOMPARE(close.size(), 9);
        QCOMPARE(close.first(), 3.3);
        QCOMPARE(close.last(), 4.1);
        QVERIFY(ChartFormat::ticks(5, 5).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEvaluation)
#include "test_evaluation.moc"
