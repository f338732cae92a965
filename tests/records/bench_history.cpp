// SPDX-License-Identifier: GPL-3.0-or-later
// Growth and cost of the card history; run by hand, not in CI:
//   cmake --build build --target bench_history && build/tests/records/bench_history
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/CardLock.h"
#include "records/CardSession.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

qint64 bytesIn(const QString &folder, const QString &skip = QString())
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (skip.isEmpty() || !it.filePath().startsWith(skip))
            total += it.fileInfo().size();
    }
    return total;
}

KLRecord visit(int n)
{
    KLRecord sheet;
    sheet.Idopont = QStringLiteral("2026.03.%1 10:15").arg(n % 28 + 1);
    for (int i = 0; i < KLRecord::kReadingCount; ++i)
        sheet.Readings[i] = 300 + (n * 37 + i * 11) % 900;
    return sheet;
}

CardContent person(int n)
{
    CardContent content;
    content.personal = QStringList(CardFile::keys().size());
    content.personal[0] = QStringLiteral("Kovács Éva %1").arg(n);
    content.personal[1] = QStringLiteral("1970.05.17.");
    content.anamnesis = QStringLiteral("Fejfájás, alvászavar, 2019 óta. ").repeated(6);
    return content;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void thousandChanges(const QString &db)
{
    CardSession session(db, db + "arc/");
    session.startNew(QDate(2026, 3, 2));
    CardContent content = person(1);
    session.save(content);
    for (int i = 0; i < 10; ++i)
        session.appendSheet(visit(i));
    QList<KLRecord> sheets;
    session.readSheets(sheets);
    for (int i = 0; i < 1000; ++i) {
        if (i % 3 == 2) {
            KLRecord notes = sheets[i % 10];
            notes.Statusz = QStringLiteral("Javulás, %1. kezelés").arg(i);
            session.saveNotes(i % 10, notes);
            continue;
        }
        content.personal[8] = QStringLiteral("+36 30 %1").arg(1000000 + i);
        content.anamnesis += i % 3 ? QStringLiteral(" Kontroll %1.").arg(i) : QString();
        session.save(content);
    }
    const CardHistory history(db, session.id());
    std::printf("1,000 changes to one card: history %lld bytes (%lld versions, log %lld bytes); "
                "the card's own files %lld bytes\n",
                bytesIn(history.path()),
                qlonglong(QDir(history.versionsPath()).entryList(QDir::Files).size()),
                QFileInfo(history.logPath()).size(), bytesIn(db, db + "history"));
}

void saveOnThousandSheets(const QString &db)
{
    CardSession session(db, db + "arc/");
    session.startNew(QDate(2026, 3, 3));
    CardContent content = person(2);
    session.save(content);
    QByteArray sheets;
    for (int i = 0; i < 1000; ++i)
        sheets += visit(i).bytes();
    QFile file(session.sheetPath());
    file.open(QIODevice::WriteOnly);
    file.write(sheets);
    file.close();
    QList<KLRecord> read;
    session.readSheets(read);
    QList<double> with;
    QList<double> without;
    for (int run = 0; run < 21; ++run) {
        KLRecord notes = read[500];
        notes.Statusz = QStringLiteral("Futás %1").arg(run);
        content.anamnesis = QStringLiteral("Futás %1").arg(run);
        QElapsedTimer timer;
        timer.start();
        session.save(content, 500, notes);
        with << timer.nsecsElapsed() / 1e6;
        // The same writes as before the history: under the lock, no version, no line.
        notes.Statusz += QStringLiteral("b");
        timer.restart();
        CardLock lock(CardLock::pathFor(session.base()));
        lock.acquire();
        CardFile::writePersonal(session.base() + ".sza", content.personal);
        CardFile::writeMemo(session.base() + ".anm", content.anamnesis + "b");
        CardFile::writeMemo(session.base() + ".pan", content.complaints);
        SheetFile(session.sheetPath()).writeHeader(500, notes);
        lock.release();
        without << timer.nsecsElapsed() / 1e6;
        session.readSheets(read);
    }
    std::printf("Save of anamnesis and notes on a 1,000-sheet card (median of 21): with history "
                "%.1f ms, without %.1f ms\n",
                median(with), median(without));
}

// 250 working days of 10 visits among 400 patients: a sheet and its notes each, the
// anamnesis amended at every fifth visit.
void yearOfPractice(const QString &db)
{
    QList<std::unique_ptr<CardSession>> cards;
    QList<CardContent> contents;
    for (int n = 0; n < 400; ++n) {
        cards.append(std::make_unique<CardSession>(db, db + "arc/"));
        cards.last()->startNew(QDate(2026, 1, 5));
        contents << person(n);
        cards.last()->save(contents.last());
    }
    for (int v = 0; v < 2500; ++v) {
        const int n = (v * 7919) % 400;
        CardSession &card = *cards[n];
        card.appendSheet(visit(v));
        QList<KLRecord> sheets;
        card.readSheets(sheets);
        KLRecord notes = sheets.last();
        notes.Helyszin = QStringLiteral("Rendelő");
        notes.Statusz = QStringLiteral("Állapot javul, folytatjuk. %1").arg(v);
        CardContent &content = contents[n];
        if (v % 5 == 0)
            content.anamnesis += QStringLiteral("\n%1: panasz enyhült.").arg(v);
        card.save(content, int(sheets.size()) - 1, notes);
    }
    const qint64 history = bytesIn(CardHistory::historyRoot(db));
    const qint64 records = bytesIn(db, CardHistory::historyRoot(db));
    std::printf("A year's practice (400 cards, 2,500 visits): records %lld bytes, history %lld "
                "bytes (%.2f times the records)\n",
                records, history, double(history) / double(records));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    for (auto bench : {thousandChanges, saveOnThousandSheets, yearOfPractice}) {
        QTemporaryDir dir;
        const QString db = dir.path() + "/";
        QDir().mkpath(db + "arc");
        bench(db);
    }
    return 0;
}
