// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Application.h"
#include "app/TfrmMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A temporary folder holding the program file's name, the shipped catalogue beside it and,
// through the data home, an empty default database folder.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        qputenv("XDG_DATA_HOME", m_dir.filePath("xdg").toLocal8Bit());
        // The support log of a program started from here stays here too.
        qputenv("XDG_STATE_HOME", m_dir.filePath("state").toLocal8Bit());
        QDir().mkpath(database());
        QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                    m_dir.filePath("tavimer.dat"));
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString programPath() const { return filePath("tavimer"); }
    QString database() const { return filePath("xdg/Kelvaro/Tavimer/Database/"); }
    QString supportLog() const { return filePath("state/Kelvaro/Tavimer/tavimer.log"); }

    // Creates the windows and waits until start-up has finished.
    void startProgram() const
    {
        Application::createWindows(programPath());
        frmMain->show();
        QTRY_VERIFY_WITH_TIMEOUT(frmMain->isReady(), 5000);
    }

private:
    QTemporaryDir m_dir;
};
