// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/BackupCommand.h"
#include "app/CommandLine.h"
#include "app/ExportCommand.h"
#include "app/FontSubstitutes.h"
#include "app/PruneCommand.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Tavimer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIMER_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    SupportLog::start(SupportLog::defaultPath());
    BackupCommand::connect();
    ExportCommand::connect();
    PruneCommand::connect();
    // Answers in the terminal need no display.
    const CommandLine commandLine(arguments);
    if (!commandLine.opensWindow()) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return commandLine.run(out, err);
    }
    QApplication app(argc, argv);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.kelvaro.Tavimer"));
    FontSubstitutes::install();
    Application::createWindows(QApplication::applicationFilePath());
    QObject::connect(new TerminationSignals(&app), &TerminationSignals::received, frmMain,
                     &TfrmMain::EndWithoutQuestions);
    frmMain->show();
    const int result = QApplication::exec();
    Application::destroyWindows();
    return result;
}
