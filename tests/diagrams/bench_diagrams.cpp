// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridStage.h"
#include "WorkedExample.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"
#include "diagrams/TfrmPrint.h"
#include "measure/TfrmMeres.h"
#include "records/KLRecord.h"

#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <functional>

// Medians of many paints, against goals well inside a 100 ms tick. The checks allow three
// times the goal, so that a busy build machine does not fail them.
class BenchDiagrams : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static double medianMs(int runs, const std::function<void(int)> &run)
    {
        QList<double> times;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            run(i);
            times.append(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    static void report(const char *what, double median, double goal)
    {
        qInfo("%s: median %.3f ms (goal %.0f ms)", what, median, goal);
        QVERIFY2(median < goal * 3, what);
    }

    static double paintMs(QWidget *window)
    {
        window->resize(800, 560);
        QImage image(window->size(), QImage::Format_RGB32);
        return medianMs(200, [&](int) { window->render(&image); });
    }

private slots:
    void initTestCase()
    {
        openMainAndGrid(m_dir);
        setGrid(workedExample());
    }

    void circleDiagramPaint()
    {
        auto *window = new TfrmCirc();
        report("circle diagram paint", paintMs(window), 2);
        delete window;
    }

    void pictureDiagramPaint()
    {
        auto *one = new TfrmCirc1();
        report("picture diagram 1 paint", paintMs(one), 10);
        auto *two = new TfrmCirc2();
        report("picture diagram 2 paint", paintMs(two), 10);
        delete one;
        delete two;
    }

    void barChartRefill()
    {
        auto *window = new TfrmBar();
        window->resize(800, 560);
        window->grab();
        // Every run changes the set, so that every refill has data to change.
        const double median = medianMs(200, [&](int run) {
            frmMeres->SetCell(1, 1, QString::number(60 + run % 2 * 40));
            window->Refill();
        });
        report("bar chart refill", median, 20);
        delete window;
    }

    // Printing to PDF files, without the printer dialog.
    void printsToPdf()
    {
        auto *print = new TfrmPrint();
        const QString pdf = m_dir.filePath("bench.pdf");
        print->choosePrinter = [pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        auto *circle = new TfrmCirc();
        circle->resize(800, 560);
        report("circle diagram print",
               medianMs(10, [&](int) { print->PrintDiagram(circle, "Kiss Anna"); }), 200);
        auto *picture = new TfrmCirc1();
        picture->resize(800, 560);
        report("picture diagram 1 print",
               medianMs(10, [&](int) { print->PrintDiagram(picture, "Kiss Anna"); }), 200);
        KLRecord sheet;
        for (int k = 0; k < KLRecord::kReadingCount; ++k)
            sheet.Readings[k] = 40 + 5 * k;
        report(
            "three-page report",
            medianMs(
                5, [&](int) { print->PrintReport("Kiss Anna", "BQCD0007", "1970.05.17.", sheet); }),
            1000);
        delete picture;
        delete circle;
        delete print;
    }
};

QTEST_MAIN(BenchDiagrams)
#include "bench_diagrams.moc"
