// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/TfrmKarton.h"
#include "support/ProgramFolder.h"

#include <QPushButton>

// The running program on a database folder of its own, for the timings that run by hand
// outside the test runner.
class BenchProgram
{
public:
    BenchProgram()
    {
        QDir().mkpath(db() + "arc");
        Application::createWindows(m_folder.programPath());
        frmMain->show();
        while (!frmMain->isReady())
            QTest::qWait(50);
        frmMain->DBPath = db();
        frmMain->ArcPath = db() + "arc/";
    }

    // Unsaved edits are dropped: no question holds up the end.
    ~BenchProgram()
    {
        frmKarton->bSave->setEnabled(false);
        frmMain->close();
        Application::destroyWindows();
    }

    BenchProgram(const BenchProgram &) = delete;
    BenchProgram &operator=(const BenchProgram &) = delete;

    QString db() const { return m_folder.filePath("db/"); }

private:
    ProgramFolder m_folder;
};
