// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/BarPainter.h"

#include "diagrams/BarScale.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/SymbolPainter.h"

#include <QFont>
#include <QPainter>

namespace {
constexpr double kStepY = 10;
constexpr double kBarWidth = 0.7;
constexpr double kLabelPixels = 9;
constexpr double kAxisSpace = 34;  // left of the plot, for the value labels
constexpr double kLabelSpace = 38; // below the plot, for the turned bar labels

class Plot
{
public:
    explicit Plot(const QRectF &area) : m_area(area) {}
    double x(double value) const
    {
        return m_area.left() + (value - BarScale::kFirstX) * m_area.width() /
                                   (BarScale::kLastX - BarScale::kFirstX);
    }
    double y(double value) const
    {
        return m_area.bottom() -
               (value - BarScale::kMinY) * m_area.height() / (BarScale::kMaxY - BarScale::kMinY);
    }

private:
    QRectF m_area;
};

} // namespace

void BarPainter::paint(QPainter &p, const QRectF &area, const Evaluation::Result &result,
                       const QLocale &numbers)
{
    const QRectF plotArea = area.adjusted(kAxisSpace, 4, -4, -kLabelSpace);
    const Plot plot(plotArea);
    p.save();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kLabelPixels);
    p.setFont(font);
    const QFontMetricsF metrics(font);

    p.setPen(QPen(Qt::lightGray, 0.5));
    for (double v = BarScale::kMinY; v <= BarScale::kMaxY; v += kStepY) {
        p.drawLine(QPointF(plotArea.left(), plot.y(v)), QPointF(plotArea.right(), plot.y(v)));
        const QString label = ChartFormat::axisLabel(v, numbers);
        p.setPen(Qt::black);
        p.drawText(QPointF(plotArea.left() - 4 - metrics.horizontalAdvance(label),
                           plot.y(v) + metrics.ascent() / 2 - 1),
                   label);
        p.setPen(QPen(Qt::lightGray, 0.5));
    }

    p.save();
    p.setClipRect(plotArea);
    p.setPen(Qt::NoPen);
    for (int bar = 0; bar < Evaluation::kCells; ++bar) {
        const double value = result.Deviation[bar / 2][bar % 2];
        p.setBrush(SymbolPainter::colour(result.ClassColor[bar / 2][bar % 2]));
        const double left = plot.x(bar - kBarWidth / 2);
        const double right = plot.x(bar + kBarWidth / 2);
        p.drawRect(QRectF(QPointF(left, plot.y(std::max(value, 0.0))),
                          QPointF(right, plot.y(std::min(value, 0.0)))));
    }
    for (const BarScale::Level &level : BarScale::kLevels) {
        p.setPen(QPen(SymbolPainter::colour(level.colour), 1.2));
        p.drawLine(QPointF(plotArea.left(), plot.y(level.y)),
                   QPointF(plotArea.right(), plot.y(level.y)));
    }
    p.restore();

    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plotArea);
    for (int bar = 0; bar < Evaluation::kCells; ++bar) {
        p.save();
        p.translate(plot.x(bar) + metrics.ascent() / 2 - 1, plotArea.bottom() + 4);
        p.rotate(-90);
        const QString label = BarScale::barLabel(bar);
        p.drawText(QPointF(-metrics.horizontalAdvance(label), 0), label);
        p.restore();
    }
    p.restore();
}
