// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// Number texts of the bar chart: thousands separated, at most or exactly one decimal.
class ChartFormat
{
public:
    // "#,##0.#": 12 stays "12", 12.25 becomes "12.3".
    static QString axisLabel(double value, const QLocale &locale = QLocale());
    // "#,##0.0": always one decimal.
    static QString value(double value, const QLocale &locale = QLocale());
    // Round label places covering [min, max], about ten of them.
    static QList<double> ticks(double min, double max);
};
