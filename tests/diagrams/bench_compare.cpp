// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the comparison window on cards of 1,000 to 10,000 sheets, from the button to the
// painted window; fails when 10,000 sheets take a second or more. Label bench, run by hand:
//   ctest --test-dir build -L bench -R bench_compare --output-on-failure
#include "SheetReadings.h"
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "records/TfrmKarton.h"
#include "support/BenchProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BenchProgram program;
    const QString db = program.db();

    // Largest first, on the window's initial axis; other sizes from the command line.
    QList<int> counts = {10000, 8000, 2000};
    for (int i = 1; i < argc; ++i)
        counts = i == 1 ? QList<int>{atoi(argv[i])} : counts << atoi(argv[i]);
    double largest = 0;
    for (const int count : counts) {
        QFile file(db + "BXEQ0001.kl");
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const SheetComparison::Readings example = sheetReadings(workedExample());
        for (int i = 0; i < count; ++i) {
            KLRecord record;
            record.Idopont = QStringLiteral("2024.05.17. 10:00:00");
            record.Readings = i % 2 ? example : allHundreds();
            record.Readings[i % 24] = 40 + i % 200;
            file.write(record.bytes());
        }
        file.close();
        frmKarton->LoadCard(QStringLiteral("BXEQ0001"));
        frmKarton->Karton->show();
        frmKarton->KezelolapokShow();
        frmMain->bringToFront(frmKarton);
        QApplication::processEvents();
        // From the button to the painted window, course chart included.
        QElapsedTimer timer;
        timer.start();
        frmKarton->bCompareClick();
        QApplication::processEvents();
        frmCompare->subWindow()->grab();
        const double ms = timer.nsecsElapsed() / 1e6;
        largest = std::max(largest, ms);
        std::printf("comparison window on %6d sheets %8.1f ms\n", count, ms);
    }
    std::printf("goal: 10,000 sheets under 1000 ms\n");
    return argc > 1 || largest < 1000 ? 0 : 1;
}
