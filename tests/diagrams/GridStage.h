// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "diagrams/Evaluation.h"
#include "measure/TfrmMeres.h"

#include <QFile>
#include <QTemporaryDir>

// The main window and the measuring window's grid, all the diagram windows need.
inline void openMainAndGrid(const QTemporaryDir &dir)
{
    FontSubstitutes::install();
    QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                dir.filePath("tavimer.dat"));
    new TfrmMain(dir.filePath("tavimer"));
    new TfrmMeres();
}

// Cells meridian by meridian, left before right.
inline void setGrid(const Evaluation::Cells &cells)
{
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s)
            frmMeres->SetCell(s + 1, m + 1, cells[m * 2 + s]);
    }
}
