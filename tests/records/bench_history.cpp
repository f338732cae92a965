// SPDX-License-Identifier: GPL-3.0-or-later
// Growth and cost of the card history; run by hand, not in CI:
//   cmake --build build --target bench_history && build/tests/records/bench_history
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/CardLock.h"
#include "records/CardSession.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

qint64 bytesIn(const QString &folder, const QString &skip = "-")
{
    qint64 total = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        total += it.next().startsWith(skip) ? 0 : it.fileInfo().size();
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

// A new card with `sheets` sheets, its content in `content`.
std::unique_ptr<CardSession> card(const QString &db, CardContent &content, int sheets)
{
    auto session = std::make_unique<CardSession>(db, db + "arc/");
    session->startNew(QDate(2026, 3, 2));
    content.personal = QStringList(CardFile::keys().size());
    content.personal[0] = QStringLiteral("Kovács Éva");
    content.anamnesis = QStringLiteral("Fejfájás, alvászavar, 2019 óta. ").repeated(6);
    session->save(content);
    QByteArray bytes;
    for (int i = 0; i < sheets; ++i)
        bytes += visit(i).bytes();
    QFile file(session->sheetPath());
    if (sheets && file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return session;
}

void thousandChanges(const QString &db)
{
    CardContent content;
    auto session = card(db, content, 10);
    QList<KLRecord> sheets;
    session->readSheets(sheets);
    for (int i = 0; i < 1000; ++i) {
        sheets[i % 10].Statusz = QStringLiteral("Javulás, %1. kezelés").arg(i);
        content.personal[8] = QStringLiteral("+36 30 %1").arg(1000000 + i);
        content.anamnesis += i % 3 == 1 ? QStringLiteral(" Kontroll %1.").arg(i) : QString();
        i % 3 == 2 ? session->saveNotes(i % 10, sheets[i % 10]) : session->save(content);
    }
    const CardHistory history(db, session->id());
    std::printf("1,000 changes to one card: history %lld bytes (%lld versions, log %lld bytes), "
                "the card's own files %lld bytes\n",
                bytesIn(history.path()),
                qlonglong(QDir(history.versionsPath()).entryList(QDir::Files).size()),
                QFileInfo(history.logPath()).size(), bytesIn(db, history.path()));
}

// A save of the anamnesis and of sheet 500's notes, against the reads and writes such a save
// made before the history (the sheet file checked before and after, the files under the lock),
// taken in turns.
void saveOnThousandSheets(const QString &db)
{
    CardContent content;
    auto session = card(db, content, 1000);
    const QString base = session->base();
    QList<KLRecord> sheets;
    const auto plain = [&] {
        CardLock lock(CardLock::pathFor(base));
        lock.acquire();
        QByteArray bytes;
        SheetFile(session->sheetPath()).readBytes(bytes);
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
        CardFile::writePersonal(base + ".sza", content.personal);
        CardFile::writeMemo(base + ".anm", content.anamnesis);
        CardFile::writeMemo(base + ".pan", content.complaints);
        SheetFile(session->sheetPath()).writeHeader(500, sheets[500]);
        SheetFile(session->sheetPath()).readBytes(bytes);
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    };
    QList<double> times[2];
    for (int run = 0; run < 42; ++run) {
        session->readSheets(sheets);
        sheets[500].Statusz = content.anamnesis = QStringLiteral("Futás %1").arg(run);
        const bool history = run % 4 == 1 || run % 4 == 2;
        QElapsedTimer timer;
        timer.start();
        if (!history)
            plain();
        else if (session->save(content, 500, sheets[500], true) != CardSession::Outcome::Done)
            std::printf("a save failed\n");
        times[history] << timer.nsecsElapsed() / 1e6;
    }
    for (QList<double> &list : times)
        std::sort(list.begin(), list.end());
    std::printf("Save of anamnesis and notes on a 1,000-sheet card (median of 21): with history "
                "%.1f ms, without %.1f ms\n",
                times[1][10], times[0][10]);
}

// 250 working days of 10 visits among 400 patients: a sheet and its notes each, the
// anamnesis amended at every fifth visit.
void yearOfPractice(const QString &db)
{
    std::vector<std::unique_ptr<CardSession>> cards;
    QList<CardContent> contents;
    for (int n = 0; n < 400; ++n) {
        contents.append(CardContent());
        cards.push_back(card(db, contents.last(), 0));
    }
    for (int v = 0; v < 2500; ++v) {
        const int n = (v * 7919) % 400;
        cards[n]->appendSheet(visit(v));
        QList<KLRecord> sheets;
        cards[n]->readSheets(sheets);
        sheets.last().Statusz = QStringLiteral("Állapot javul, folytatjuk. %1").arg(v);
        contents[n].anamnesis += v % 5 ? QString() : QStringLiteral("\n%1: enyhült.").arg(v);
        cards[n]->save(contents[n], int(sheets.size()) - 1, sheets.last());
    }
    const QString root = CardHistory::historyRoot(db);
    const qint64 records = bytesIn(db, root);
    std::printf("A year's practice (400 cards, 2,500 visits): records %lld bytes, history %lld "
                "bytes (%.2f times the records)\n",
                records, bytesIn(root), double(bytesIn(root)) / double(records));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    for (auto bench : {thousandChanges, saveOnThousandSheets, yearOfPractice}) {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("arc"));
        bench(dir.path() + "/");
    }
    return 0;
}
