// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program, puts a measurement set into the grid and saves a picture of the main
// window with each diagram in front; then prints the circle diagram and picture diagram 1
// through the print button into PDF files.
// Usage: render_diagrams <program path> <output folder> [24 readings, left before right]
#include "app/Application.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"
#include "diagrams/TfrmHusbWife.h"
#include "diagrams/TfrmPrint.h"
#include "diagrams/TfrmUSin.h"
#include "measure/TfrmMeres.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QScreen>
#include <QThread>

namespace {
void wait(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    FontSubstitutes::install();
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QStringList readings = {"80", "90",  "70",  "72", "60", "64", "75", "70",
                            "90", "150", "100", "98", "50", "55", "45", "50",
                            "65", "60",  "70",  "80", "55", "52", "60", ""};
    for (int i = 3; i < argc && i - 3 < readings.size(); ++i)
        readings[i - 3] = QString::fromLocal8Bit(argv[i]);

    Application::createWindows(QString::fromLocal8Bit(argv[1]));
    frmMain->show();
    while (!frmMain->isReady())
        wait(50);
    frmMain->resize(960, 740);
    for (int i = 0; i < readings.size(); ++i)
        frmMeres->SetCell(i % 2 + 1, i / 2 + 1, readings[i]);

    const QList<QPair<MdiChild *, QString>> windows = {
        {frmBar, "bar"},           {frmCirc, "circ"},   {frmUSin, "usin"},
        {frmHusbWife, "husbwife"}, {frmCirc1, "circ1"}, {frmCirc2, "circ2"}};
    for (const auto &window : windows) {
        frmMain->bringToFront(window.first);
        window.first->subWindow()->showMaximized();
        wait(1500);
        frmMain->grab().save(folder + "/" + window.second + ".png");
    }
    for (MdiChild *window : {static_cast<MdiChild *>(frmCirc), static_cast<MdiChild *>(frmCirc1)}) {
        const QString pdf = folder + "/" + window->metaObject()->className() + ".pdf";
        frmPrint->choosePrinter = [pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        frmMain->bringToFront(window);
        wait(300);
        frmMain->sbPrintClick();
    }
    frmMain->close();
    Application::destroyWindows();
    return 0;
}
