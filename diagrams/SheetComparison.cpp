// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/SheetComparison.h"

#include "diagrams/ChartFormat.h"

#include <cmath>

namespace {
const QChar kArrow(0x2192);

int readingIndex(int meridian, int side)
{
    return KLRecord::readingIndex(side + 1, meridian + 1);
}
} // namespace

const QString SheetComparison::kMissing = QString(QChar(0x2013));

SheetComparison::SheetComparison(const Readings &before, const Readings &after)
    : m_readingsBefore(before), m_readingsAfter(after), m_before(summarise(before)),
      m_after(summarise(after))
{
}

SheetComparison::SetSummary SheetComparison::summarise(const Readings &readings)
{
    SetSummary summary;
    summary.result = Evaluation::evaluate(Evaluation::storedCells(readings));
    summary.present = summary.result.presentCount();
    if (summary.present == 0)
        return summary;
    // Missing readings have deviation 0, so they add nothing to the sum.
    double sum = 0;
    for (const auto &meridian : summary.result.Deviation) {
        for (double d : meridian)
            sum += d;
    }
    const double mean = sum / summary.present;
    double squares = 0;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s) {
            if (!summary.result.Present[m][s])
                continue;
            const double d = summary.result.Deviation[m][s];
            squares += (d - mean) * (d - mean);
            if (summary.result.ClassColor[m][s] == Evaluation::kGreen)
                ++summary.balanced;
        }
    }
    summary.spread = std::sqrt(squares / summary.present);
    return summary;
}

QList<SheetComparison::Row> SheetComparison::rows() const
{
    QList<Row> rows;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s) {
            Row row;
            row.meridian = m;
            row.side = s;
            row.readingBefore = m_readingsBefore[readingIndex(m, s)];
            row.readingAfter = m_readingsAfter[readingIndex(m, s)];
            row.deviationBefore = m_before.result.Deviation[m][s];
            row.deviationAfter = m_after.result.Deviation[m][s];
            row.colourBefore = m_before.result.ClassColor[m][s];
            row.colourAfter = m_after.result.ClassColor[m][s];
            row.presentBefore = m_before.result.Present[m][s];
            row.presentAfter = m_after.result.Present[m][s];
            if (row.presentBefore && row.presentAfter)
                row.change = std::abs(row.deviationAfter) - std::abs(row.deviationBefore);
            rows.append(row);
        }
    }
    return rows;
}

QString SheetComparison::summary(const QString &balancedLabel, const QString &spreadLabel,
                                 const QString &noReadings, const QLocale &locale) const
{
    const QString arrow = QStringLiteral(" ") + kArrow + QStringLiteral(" ");
    auto balanced = [&](const SetSummary &set) {
        return set.present == 0 ? noReadings
                                : QStringLiteral("%1/%2").arg(set.balanced).arg(set.present);
    };
    auto spread = [&](const SetSummary &set) {
        return set.present == 0 ? kMissing : ChartFormat::value(set.spread, locale);
    };
    // One multi-argument call, so that a "%" in a catalogue text is never taken for a marker.
    return QStringLiteral("%1: %2%3%4   %5: %6%3%7")
        .arg(balancedLabel, balanced(m_before), arrow, balanced(m_after), spreadLabel,
             spread(m_before), spread(m_after));
}

QList<int> SheetComparison::course(const QList<Readings> &sheets)
{
    QList<int> counts;
    counts.reserve(sheets.size());
    for (const Readings &sheet : sheets) {
        const SetSummary summary = summarise(sheet);
        counts.append(summary.present > 0 ? summary.balanced : -1);
    }
    return counts;
}

QPair<int, int> SheetComparison::defaultPair(int selected, int count)
{
    if (count <= 0)
        return {-1, -1};
    const int after = selected >= 0 && selected < count ? selected : count - 1;
    return {std::max(after - 1, 0), after};
}

QString SheetComparison::sheetCaption(int index, const QString &idopont)
{
    return QStringLiteral("%1. %2").arg(index + 1).arg(idopont);
}

QString SheetComparison::readingText(qint32 reading)
{
    return reading < 0 ? kMissing : QString::number(reading);
}

QString SheetComparison::changeText(double change, const QLocale &locale)
{
    const QString text = ChartFormat::value(change, locale);
    return std::round(change * 10.0) > 0 ? locale.positiveSign() + text : text;
}
