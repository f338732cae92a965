// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/Evaluation.h"

#include "records/KLRecord.h"

#include <algorithm>
#include <cmath>

const std::array<double, Evaluation::kMeridians> Evaluation::MeridianFactor = {
    0.83, 0.90, 1.08, 0.90, 0.77, 0.77, 0.98, 1.19, 1.07, 1.07, 1.20, 1.11};

const std::array<const char *, Evaluation::kMeridians> Evaluation::MeridianCodes = {
    "LU", "HC", "HT", "SI", "TH", "LI", "SP", "LV", "KI", "BL", "GB", "ST"};

namespace {
double logScale(double value)
{
    return 60.0 * std::log(value + 40.0) - 220.0;
}
} // namespace

qint64 Evaluation::reading(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toInt(&ok);
    // A negative reading would take the logarithm to zero or below; the device never sends one.
    return ok && value > 0 ? value : 0;
}

bool Evaluation::present(const QString &text)
{
    return !text.trimmed().isEmpty();
}

int Evaluation::Result::presentCount() const
{
    int count = 0;
    for (const auto &meridian : Present)
        count += static_cast<int>(std::count(std::begin(meridian), std::end(meridian), true));
    return count;
}

qint64 Evaluation::roundedMean(qint64 sum)
{
    return static_cast<qint64>(std::nearbyint(static_cast<double>(sum) / kCells));
}

quint32 Evaluation::classColor(double deviation)
{
    quint32 colour = kBlue;
    if (deviation > -14)
        colour = kLightBlue;
    if (deviation > -7)
        colour = kGreen;
    if (deviation > 7)
        colour = kLightRed;
    if (deviation > 14)
        colour = kRed;
    return colour;
}

Evaluation::Result Evaluation::evaluate(const Cells &cells)
{
    qint64 r[kMeridians][kSides];
    qint64 sum = 0;
    for (int m = 0; m < kMeridians; ++m) {
        for (int s = 0; s < kSides; ++s) {
            r[m][s] = reading(cells[m * kSides + s]);
            sum += r[m][s];
        }
    }
    Result result;
    result.Mean = roundedMean(sum);
    result.Reference = logScale(static_cast<double>(result.Mean));
    const double ref = result.Reference;
    for (int m = 0; m < kMeridians; ++m) {
        for (int s = 0; s < kSides; ++s) {
            result.Present[m][s] = present(cells[m * kSides + s]);
            if (!result.Present[m][s]) {
                result.ClassColor[m][s] = kNoClass;
                continue;
            }
            const double d = logScale(static_cast<double>(r[m][s]) * MeridianFactor[m]) - ref;
            result.Deviation[m][s] = d;
            result.ClassColor[m][s] = classColor(d);
        }
    }
    return result;
}

Evaluation::Cells Evaluation::storedCells(const std::array<qint32, kCells> &stored)
{
    Cells cells;
    for (int m = 0; m < kMeridians; ++m) {
        for (int s = 0; s < kSides; ++s) {
            const qint32 reading = stored[KLRecord::readingIndex(s + 1, m + 1)];
            cells[m * kSides + s] = reading < 0 ? QString() : QString::number(reading);
        }
    }
    return cells;
}
