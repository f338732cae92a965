// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmBar.h"

#include "app/TfrmMain.h"
#include "diagrams/BarScale.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/Evaluation.h"
#include "diagrams/PatientReport.h"
#include "diagrams/SymbolPainter.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QCursor>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QVBoxLayout>

TfrmBar *frmBar = nullptr;

namespace {
constexpr int kBars = Evaluation::kCells;
} // namespace

TfrmBar::TfrmBar(QWidget *parent) : MdiChild(false, parent)
{
    frmBar = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagBar")));

    auto *chart = new QChart();
    chart->legend()->hide();
    chart->setTitle(QString());
    chart->setPlotAreaBackgroundVisible(false);
    // No animation, not even of the zoom: the value labels follow the zoom, and Qt Charts
    // reads past a category axis's labels when they change while its axis animation runs.
    chart->setAnimationOptions(QChart::NoAnimation);

    Series1 = new QStackedBarSeries(chart);
    Series1->setBarWidth(0.7);
    Series1->setLabelsVisible(false);
    for (int bar = 0; bar < kBars; ++bar) {
        auto *set = new QBarSet(BarScale::barLabel(bar));
        set->setPen(Qt::NoPen);
        set->append(QList<qreal>(kBars, 0.0));
        Series1->append(set);
    }
    chart->addSeries(Series1);
    connect(Series1, &QStackedBarSeries::hovered, this, [](bool status, int index, QBarSet *set) {
        QToolTip::showText(
            QCursor::pos(),
            status ? set->label() + QStringLiteral(": ") +
                         ChartFormat::value(set->at(index),
                                            PatientReport::locale(*frmMain->catalogue()))
                   : QString());
    });
    for (const BarScale::Level &level : BarScale::kLevels)
        m_lines.append(addLine(level.colour));
    Series2 = m_lines[0];
    Series3 = m_lines[1];
    Series4 = m_lines[2];
    Series5 = m_lines[3];
    Series6 = m_lines[4];
    for (QLineSeries *line : m_lines)
        chart->addSeries(line);
    buildAxes();

    Chart1 = new QChartView(chart, this);
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setRubberBand(QChartView::RectangleRubberBand);
    Chart1->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Chart1);
}

QLineSeries *TfrmBar::addLine(quint32 colour)
{
    auto *line = new QLineSeries(this);
    line->setPen(QPen(SymbolPainter::colour(colour), 2));
    line->setPointsVisible(false);
    return line;
}

void TfrmBar::buildAxes()
{
    QChart *chart = Series1->chart();
    m_axisX = new QCategoryAxis(this);
    m_axisX->setRange(BarScale::kFirstX, BarScale::kLastX);
    m_axisX->setStartValue(BarScale::kFirstX);
    m_axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisX->setLabelsAngle(-90);
    m_axisX->setGridLineVisible(false);
    labelBars(BarScale::kFirstX, BarScale::kLastX);
    connect(m_axisX, &QCategoryAxis::rangeChanged, this, &TfrmBar::labelBars);

    m_axisY = new QCategoryAxis(this);
    m_axisY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisY->setRange(BarScale::kMinY, BarScale::kMaxY);
    labelValues(BarScale::kMinY, BarScale::kMaxY);
    connect(m_axisY, &QCategoryAxis::rangeChanged, this, &TfrmBar::labelValues);

    chart->addAxis(m_axisX, Qt::AlignBottom);
    chart->addAxis(m_axisY, Qt::AlignLeft);
    Series1->attachAxis(m_axisX);
    Series1->attachAxis(m_axisY);
    for (QLineSeries *line : m_lines) {
        line->attachAxis(m_axisX);
        line->attachAxis(m_axisY);
    }
}

void TfrmBar::labelValues(qreal min, qreal max)
{
    // Labels follow the zoom, so that a close look still has its numbers.
    for (const QString &label : m_axisY->categoriesLabels())
        m_axisY->remove(label);
    const QList<double> ticks = ChartFormat::ticks(min, max);
    if (ticks.isEmpty())
        return;
    m_axisY->setStartValue(ticks.first());
    for (double tick : ticks)
        m_axisY->append(ChartFormat::axisLabel(tick, PatientReport::locale(*frmMain->catalogue())),
                        tick);
}

void TfrmBar::labelBars(qreal min, qreal max)
{
    // Only the bars in view: Qt would pile the labels of the others up at the edges.
    for (const QString &label : m_axisX->categoriesLabels())
        m_axisX->remove(label);
    m_axisX->setStartValue(min - 1);
    for (int bar = 0; bar < kBars; ++bar) {
        if (bar >= min && bar <= max)
            m_axisX->append(BarScale::barLabel(bar), bar);
    }
}

bool TfrmBar::eventFilter(QObject *watched, QEvent *event)
{
    if (Chart1 && watched == Chart1->viewport() && event->type() == QEvent::Paint)
        Refill();
    return MdiChild::eventFilter(watched, event);
}

void TfrmBar::Refill()
{
    frmMain->Evaluate();
    // Data that is already right is left alone: touching it would paint the chart again.
    if (upToDate())
        return;
    refillLines();
    refillBars();
}

QList<QPointF> TfrmBar::linePoints(int line)
{
    QList<QPointF> points;
    for (int x = BarScale::kFirstX; x <= BarScale::kLastX; ++x)
        points.append(QPointF(x, BarScale::kLevels[line].y));
    return points;
}

QColor TfrmBar::barColour(int bar)
{
    return SymbolPainter::colour(frmMain->ClassColor[bar / 2][bar % 2]);
}

double TfrmBar::barValue(int bar)
{
    return frmMain->Deviation[bar / 2][bar % 2];
}

bool TfrmBar::upToDate() const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i]->points() != linePoints(i))
            return false;
    }
    const QList<QBarSet *> sets = Series1->barSets();
    for (int bar = 0; bar < kBars; ++bar) {
        if (sets[bar]->at(bar) != barValue(bar) || sets[bar]->color() != barColour(bar))
            return false;
    }
    return true;
}

void TfrmBar::refillLines()
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QList<QPointF> points = linePoints(i);
        if (m_lines[i]->points() != points)
            m_lines[i]->replace(points);
    }
}

void TfrmBar::refillBars()
{
    const QList<QBarSet *> sets = Series1->barSets();
    for (int bar = 0; bar < kBars; ++bar) {
        QBarSet *set = sets[bar];
        if (set->at(bar) != barValue(bar))
            set->replace(bar, barValue(bar));
        if (set->color() != barColour(bar))
            set->setColor(barColour(bar));
    }
}
