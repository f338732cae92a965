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

SheetComparison::SheetComparison(const Readings &before, const Readings &after)
    : m_readingsBefore(before), m_readingsAfter(after), m_before(summarise(before)),
      m_after(summarise(after))
{
}

SheetComparison::SetSummary SheetComparison::summarise(const Readings &readings)
{
    SetSummary summary;
    summary.result = Evaluation::evaluate(Evaluation::storedCells(readings));
    double sum = 0;
    for (const auto &meridian : summary.result.Deviation) {
        for (double d : meridian)
            sum += d;
    }
    const double mean = sum / Evaluation::kCells;
    double squares = 0;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s) {
            const double d = summary.result.Deviation[m][s];
            squares += (d - mean) * (d - mean);
            if (summary.result.ClassColor[m][s] == Evaluation::kGreen)
                ++summary.balanced;
        }
    }
    summary.spread = std::sqrt(squares / Evaluation::kCells);
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
            row.change = std::abs(row.deviationAfter) - std::abs(row.deviationBefore);
            rows.append(row);
        }
    }
    return rows;
}

QString SheetComparison::summary(const QString &balancedLabel, const QString &spreadLabel,
                                 const QLocale &locale) const
{
    const QString arrow = QStringLiteral(" ") + kArrow + QStringLiteral(" ");
    // One multi-argument call, so that a "%" in a catalogue text is never taken for a marker.
    return QStringLiteral("%1: %2/24%3%4/24   %5: %6%3%7")
        .arg(balancedLabel, QString::number(m_before.balanced), arrow,
             QString::number(m_after.balanced), spreadLabel,
             ChartFormat::value(m_before.spread, locale),
             ChartFormat::value(m_after.spread, locale));
}

QList<int> SheetComparison::course(const QList<Readings> &sheets)
{
    QList<int> counts;
    counts.reserve(sheets.size());
    for (const Readings &sheet : sheets)
        counts.append(summarise(sheet).balanced);
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
    return reading < 0 ? QString() : QString::number(reading);
}

QString SheetComparison::changeText(double change, const QLocale &locale)
{
    const QString text = ChartFormat::value(change, locale);
    return std::round(change * 10.0) > 0 ? locale.positiveSign() + text : text;
}
