#include "app/Application.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimer"));
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
