// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"

// The readings of the worked example, meridian by meridian, left before right.
inline Evaluation::Cells workedExample()
{
    return {"80", "90", "70", "72", "60", "64", "75", "70", "90", "150", "100", "98",
            "50", "55", "45", "50", "65", "60", "70", "80", "55", "52",  "60",  ""};
}
