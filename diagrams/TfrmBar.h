// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"

#include <QColor>
#include <QList>
#include <QPointF>

class QCategoryAxis;
class QChartView;
class QLineSeries;
class QStackedBarSeries;

// The 24 deviations as bars in their class colours, against the five class thresholds.
class TfrmBar : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmBar(QWidget *parent = nullptr);

    // Evaluates the grid and brings the chart's data up to date.
    void Refill();

    QChartView *Chart1 = nullptr;
    // One bar set per bar, each holding its one value at its own place: so every bar
    // takes its own colour.
    QStackedBarSeries *Series1 = nullptr;
    QLineSeries *Series2 = nullptr;
    QLineSeries *Series3 = nullptr;
    QLineSeries *Series4 = nullptr;
    QLineSeries *Series5 = nullptr;
    QLineSeries *Series6 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineSeries *addLine(quint32 colour);
    void buildAxes();
    void labelValues(qreal min, qreal max);
    void labelBars(qreal min, qreal max);
    static QList<QPointF> linePoints(int line);
    static QColor barColour(int bar);
    static double barValue(int bar);
    bool upToDate() const;
    void refillLines();
    void refillBars();

    QCategoryAxis *m_axisX = nullptr;
    QCategoryAxis *m_axisY = nullptr;
    QList<QLineSeries *> m_lines;
};

extern TfrmBar *frmBar;
