// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the records with a full database folder; run by hand, not in CI:
//   cmake --build build --target bench_records && QT_QPA_PLATFORM=offscreen
//   build/tests/records/bench_records
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "measure/TfrmMeres.h"
#include "platform/Cp1250.h"
#include "records/CardLock.h"
#include "records/KLRecord.h"
#include "records/PatientId.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"
#include "support/BenchProgram.h"

#include "records/SheetTabBar.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

const QDate kDay(2024, 5, 17);
constexpr int kRuns = 5;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// 9,000 cards on the measured date code and 1,000 on another day.
void fillDatabase(const QString &db)
{
    const char *names[] = {"Kovács", "Nagy", "Szabó", "Tóth", "Varga", "Kiss", "Molnár", "Ödön"};
    for (int i = 0; i < 10000; ++i) {
        const QDate day = i < 9000 ? kDay : kDay.addDays(1);
        const QString id = PatientId::format(day, i < 9000 ? i + 1 : i - 8999);
        const QString name = QString::fromUtf8(names[i % 8]) + QStringLiteral(" %1").arg(i);
        writeFile(db + id + ".sza",
                  Cp1250::fromUnicode("[SzemelyiAdatok]\r\nNev=" + name +
                                      "\r\nSzulDatum=1970.05.17.\r\nNeme=\r\nID=" + id + "\r\n"));
    }
}

template <typename F> double medianMs(F work)
{
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

void report(const char *what, double ms, double goalMs)
{
    std::printf("%-55s %8.1f ms (goal < %.0f ms)\n", what, ms, goalMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BenchProgram program;
    const QString db = program.db();
    fillDatabase(db);

    report("search list filled from 10,000 cards", medianMs([] { frmFind->FormShow(); }), 1000);
    frmFind->tmrClose->stop();
    std::printf("  (%d lines)\n", frmFind->List->count());
    report("NewPatientId on a date code with 9,000 cards",
           medianMs([&db] { PatientId::NewPatientId(kDay, db, db + "arc/"); }), 100);

    QByteArray sheets;
    for (int i = 0; i < 1000; ++i) {
        KLRecord record;
        record.Idopont = QStringLiteral("2024.05.17. 10:00:00");
        record.Readings[0] = i;
        sheets += record.bytes();
    }
    writeFile(db + "BXEQ0001.kl", sheets);
    frmKarton->LoadCard(QStringLiteral("BXEQ0001"));
    report("tabs of a 1,000-sheet file", medianMs([] { frmKarton->KezelolapokShow(); }), 50);
    std::printf("  (%d tabs)\n", frmKarton->LapokTabs->count());
    report("showing one sheet of a 1,000-sheet file", medianMs([] { frmKarton->LapokChange(); }),
           50);

    // The card as open in the window, without unsaved edits: no search, no question.
    frmKarton->Karton->show();
    frmKarton->bSave->setEnabled(false);
    report("measurement saved onto a 1,000-sheet card, with its lock", medianMs([] {
               frmMeres->SetOrigin(GridOrigin());
               frmKarton->SaveMeasurementAsSheet();
           }),
           50);
    std::printf("  (%d tabs)\n", frmKarton->LapokTabs->count());
    const double lockMs = medianMs([&db] {
        CardLock lock(CardLock::pathFor(db + "BXEQ0001"));
        lock.acquire(0);
    });
    std::printf("%-55s %8.3f ms\n", "card lock taken and given back", lockMs);
    return 0;
}
