// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/ChartFormat.h"

#include <cmath>

namespace {
QLocale grouped(const QLocale &locale)
{
    QLocale result(locale);
    result.setNumberOptions(result.numberOptions() & ~QLocale::OmitGroupSeparator);
    return result;
}

double tenths(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    // No "-0" for values that round to nothing.
    return rounded == 0.0 ? 0.0 : rounded;
}
} // namespace

QString ChartFormat::axisLabel(double value, const QLocale &locale)
{
    const double rounded = tenths(value);
    const int decimals = rounded == std::floor(rounded) ? 0 : 1;
    return grouped(locale).toString(rounded, 'f', decimals);
}

QString ChartFormat::value(double value, const QLocale &locale)
{
    return grouped(locale).toString(tenths(value), 'f', 1);
}

QList<double> ChartFormat::ticks(double min, double max)
{
    QList<double> result;
    if (!(max > min) || !std::isfinite(max - min))
        return result;
    const double raw = (max - min) / 10.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * magnitude;
        if (step >= raw)
            break;
    }
    const double tolerance = step * 1e-9;
    for (double k = std::ceil(min / step - 1e-9); k * step <= max + tolerance; ++k)
        result.append(k * step);
    return result;
}
