#include "app/Application.h"
#include "app/BackupCommand.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (BackupCommand::isGiven(argc, argv))
        return BackupCommand::run(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimer"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.kelvaro.Tavimer"));
    FontSubstitutes::install();
    Application::createWindows(QApplication::applicationFilePath());
    frmMain->show();
    const int result = QApplication::exec();
    Application::destroyWindows();
    return result;
}
