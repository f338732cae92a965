// SPDX-License-Identifier: GPL-3.0-or-later
// Measures launch-to-ready of the real program and its peak memory, then ends it.
// Prints: "<milliseconds since the process started> ms, <peak resident> MB".
#include "app/Application.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

// Process start from the kernel's bookkeeping, so that loading the libraries counts too.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    stat.open(QIODevice::ReadOnly);
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FontSubstitutes::install();
    Application::createWindows(QApplication::applicationFilePath());
    QObject::connect(frmMain, &TfrmMain::ready, [] {
        const double ms = msSinceProcessStart();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        printf("%.0f ms, %.1f MB\n", ms, usage.ru_maxrss / 1024.0);
        fflush(stdout);
        QTimer::singleShot(0, frmMain, &QWidget::close);
    });
    frmMain->show();
    const int result = QApplication::exec();
    Application::destroyWindows();
    return result;
}
