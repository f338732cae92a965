// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"
#include "records/KLRecord.h"

#include <QList>
#include <QLocale>
#include <QPair>
#include <QString>

// Two treatment sheets side by side, each evaluated on its own: the balanced points, the
// spread of the deviations and the change of every point's distance from balance.
class SheetComparison
{
public:
    // As a sheet stores them: left side first, -1 for a missing reading.
    using Readings = std::array<qint32, KLRecord::kReadingCount>;

    struct SetSummary
    {
        Evaluation::Result result;
        // Points in the green class, out of the points with a reading.
        int balanced = 0;
        int present = 0;
        // Standard deviation of the deviations of the points with a reading.
        double spread = 0;
    };

    struct Row
    {
        int meridian = 0;
        int side = 0;
        qint32 readingBefore = KLRecord::kNoReading;
        qint32 readingAfter = KLRecord::kNoReading;
        double deviationBefore = 0;
        double deviationAfter = 0;
        quint32 colourBefore = 0;
        quint32 colourAfter = 0;
        bool presentBefore = false;
        bool presentAfter = false;
        // |D after| - |D before|: negative is closer to balance; only with both readings.
        double change = 0;
    };

    SheetComparison(const Readings &before, const Readings &after);

    const SetSummary &before() const { return m_before; }
    const SetSummary &after() const { return m_after; }
    // The 24 points in the grid's order, left before right.
    QList<Row> rows() const;
    // "<balanced>: 18/23 → 14/24   <spread>: 13.5 → 6.4"; a sheet without readings is
    // named by `noReadings` instead of its figures.
    QString summary(const QString &balancedLabel, const QString &spreadLabel,
                    const QString &noReadings, const QLocale &locale = QLocale()) const;

    static SetSummary summarise(const Readings &readings);
    // Balanced points of every sheet, in order; -1 for a sheet without readings.
    static QList<int> course(const QList<Readings> &sheets);
    // Before and after, 0-based: the selected sheet and the one before it (the first sheet
    // is compared with itself). A selection outside the list takes the last sheet.
    static QPair<int, int> defaultPair(int selected, int count);
    // "1. 2026.01.05 10:00:00"
    static QString sheetCaption(int index, const QString &idopont);
    // A missing reading, and what cannot be worked out without it, shows as a dash.
    static QString readingText(qint32 reading);
    static const QString kMissing;
    // One decimal with its sign, "+" included, for the change column.
    static QString changeText(double change, const QLocale &locale = QLocale());

private:
    Readings m_readingsBefore;
    Readings m_readingsAfter;
    SetSummary m_before;
    SetSummary m_after;
};
