// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WorkedExample.h"
#include "diagrams/SheetComparison.h"

// The cells of a set as a sheet stores them: left side first, -1 where a cell is empty.
inline SheetComparison::Readings sheetReadings(const Evaluation::Cells &cells)
{
    SheetComparison::Readings readings;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s) {
            const QString &cell = cells[m * Evaluation::kSides + s];
            readings[s * Evaluation::kMeridians + m] = cell.isEmpty() ? -1 : cell.toInt();
        }
    }
    return readings;
}

inline SheetComparison::Readings allHundreds()
{
    SheetComparison::Readings readings;
    readings.fill(100);
    return readings;
}
