// SPDX-License-Identifier: GPL-3.0-or-later
// One workstation's worth of card work on a shared database folder, for the
// several-workstation stress test. It uses the card session the way the cards
// window and the archive window do, and logs every change that succeeded:
//   stress_cards_driver run <folder/> <seed> <milliseconds> <log file>
//   stress_cards_driver check <folder/> <log file>...  (prints the problems found, exit 1 if any)
//   stress_cards_driver hold <lock file>     (takes a card lock and keeps it until killed)
//   stress_cards_driver contend <lock file> <rounds> <dead pid>
//       (takes the lock `rounds` times, each time leaving it behind as if it had died while
//        holding it; prints how often another holder was inside at the same time)
#include "records/CardArchive.h"
#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/CardSession.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDate kDay(2024, 5, 17);
constexpr int kTel = 8;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class Driver
{
public:
    Driver(const QString &db, unsigned seed, QFile &log)
        : m_db(db), m_arc(db + QStringLiteral("arc/")), m_rng(seed), m_seed(seed), m_log(log)
    {
    }

    // One operation picked at random; true when it changed the folder.
    bool step()
    {
        ++m_count;
        const int dice = int(m_rng() % 100);
        if (dice < 10)
            return newCard();
        if (dice < 40)
            return appendSheet();
        if (dice < 55)
            return saveHeader();
        if (dice < 65)
            return deleteSheet();
        if (dice < 90)
            return saveCard();
        return moveCard();
    }

private:
    QString tag() const { return QStringLiteral("p%1-%2").arg(m_seed).arg(m_count); }

    void log(const QString &op, const QString &id, const QString &a, const QString &b = QString())
    {
        const QString line = QStringList{op, id, a, b, QString::number(nowNs())}.join(' ');
        m_log.write(line.toUtf8() + '\n');
    }

    QString pick(const QString &folder)
    {
        const QStringList cards = QDir(folder).entryList({QStringLiteral("B*.sza")}, QDir::Files);
        return cards.isEmpty() ? QString() : cards[int(m_rng() % cards.size())].left(8);
    }

    // Logs what another workstation's lock held off; true when the operation was done.
    bool done(CardSession::Outcome outcome, const QString &id)
    {
        if (outcome == CardSession::Outcome::InUse)
            log(QStringLiteral("INUSE"), id, tag());
        if (outcome == CardSession::Outcome::ChangedElsewhere)
            log(QStringLiteral("CONFLICT"), id, tag());
        // No driver deletes a card: one reported gone was there all along.
        if (outcome == CardSession::Outcome::Gone)
            log(QStringLiteral("GONE"), id, tag());
        if (outcome == CardSession::Outcome::Failed)
            log(QStringLiteral("FAILED"), id, tag());
        return outcome == CardSession::Outcome::Done;
    }

    bool newCard()
    {
        CardSession session(m_db, m_arc);
        if (!session.startNew(kDay))
            return false;
        CardContent card;
        card.personal = QStringList(CardFile::keys().size());
        card.personal[0] = tag();
        if (!done(session.save(card), session.id()))
            return false;
        log(QStringLiteral("NEW"), session.id(), tag());
        return true;
    }

    // A card of the database folder picked at random, opened, and one of its sheets.
    bool openRandomCard(CardSession &session, CardContent &card)
    {
        const QString id = pick(m_db);
        return !id.isEmpty() && session.open(id, card) == CardSession::Outcome::Done;
    }

    int pickSheet(CardSession &session)
    {
        QList<KLRecord> sheets;
        if (session.readSheets(sheets) != CardSession::Outcome::Done || sheets.isEmpty())
            return -1;
        return int(m_rng() % sheets.size());
    }

    bool appendSheet()
    {
        CardSession session(m_db, m_arc);
        CardContent card;
        if (!openRandomCard(session, card))
            return false;
        KLRecord sheet;
        sheet.Egyeb = tag();
        sheet.Readings.fill(int(m_count));
        if (!done(session.appendSheet(sheet), session.id()))
            return false;
        log(QStringLiteral("APPEND"), session.id(), tag());
        return true;
    }

    bool saveHeader()
    {
        CardSession session(m_db, m_arc);
        CardContent card;
        const int index = openRandomCard(session, card) ? pickSheet(session) : -1;
        if (index < 0)
            return false;
        KLRecord edited = session.shownSheets()[index];
        edited.Statusz = tag();
        if (!done(session.saveNotes(index, edited), session.id()))
            return false;
        log(QStringLiteral("HEADER"), session.id(), edited.Egyeb, tag());
        return true;
    }

    bool deleteSheet()
    {
        CardSession session(m_db, m_arc);
        CardContent card;
        const int index = openRandomCard(session, card) ? pickSheet(session) : -1;
        if (index < 0)
            return false;
        const QString tagOfSheet = session.shownSheets()[index].Egyeb;
        if (!done(session.deleteSheet(index), session.id()))
            return false;
        log(QStringLiteral("DELETE"), session.id(), tagOfSheet);
        return true;
    }

    // Opened, edited for a moment, saved: refused when the card changed meanwhile.
    bool saveCard()
    {
        CardSession session(m_db, m_arc);
        CardContent card;
        if (!openRandomCard(session, card) || card.personal[0].isEmpty())
            return false;
        QThread::usleep(m_rng() % 2000);
        card.personal[kTel] = tag();
        if (!done(session.save(card), session.id()))
            return false;
        log(QStringLiteral("SAVE"), session.id(), tag());
        return true;
    }

    bool moveCard()
    {
        const bool back = m_rng() % 2 == 0;
        const QString id = pick(back ? m_arc : m_db);
        if (id.isEmpty())
            return false;
        const auto moved = back ? CardArchive::moveCard(id, m_arc, m_db, m_db)
                                : CardArchive::moveCard(id, m_db, m_arc, m_db);
        if (!done(moved, id))
            return false;
        log(back ? QStringLiteral("UNARC") : QStringLiteral("ARC"), id, tag());
        return true;
    }

    QString m_db;
    QString m_arc;
    std::mt19937 m_rng;
    unsigned m_seed;
    QFile &m_log;
    qint64 m_count = 0;
};

// Every card of the folder against what the drivers' logs report; one line per problem.
class Checker
{
public:
    explicit Checker(const QString &db) : m_db(db) {}

    void readLog(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_problems << "no log " + path;
            return;
        }
        while (!file.atEnd()) {
            const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(' ');
            if (f.size() == 5)
                m_entries.append({f[0], f[1], f[2], f[3], f[4].toLongLong()});
        }
    }

    QStringList problems()
    {
        const QHash<QString, QString> folderOf = cardFolders();
        expectFromLog();
        for (auto it = m_newName.cbegin(); it != m_newName.cend(); ++it) {
            if (!folderOf.contains(it.key()))
                m_problems << "card lost: " + it.key();
        }
        for (auto it = folderOf.cbegin(); it != folderOf.cend(); ++it)
            checkCard(it.key(), it.value() + it.key());
        return m_problems;
    }

    int fuseHidden() const { return m_fuseHidden; }
    int temporaries() const { return m_temporaries; }

    int count(const QString &op) const
    {
        return int(std::count_if(m_entries.cbegin(), m_entries.cend(),
                                 [&op](const Entry &e) { return e.op == op; }));
    }

private:
    struct Entry
    {
        QString op;
        QString id;
        QString a;
        QString b;
        qint64 ns = 0;
    };

    // Where each card lies; stray files and cards split over both folders are problems.
    QHash<QString, QString> cardFolders()
    {
        static const QRegularExpression name("^B[A-Z@]{3}\\d{4}\\.(sza|anm|pan|kl|~kl)$");
        QHash<QString, QString> folderOf;
        for (const QString &folder : {m_db, m_db + "arc/"}) {
            for (const QString &file : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
                // What FUSE keeps of a file removed while open on the same mount: no record.
                if (file.startsWith(".fuse_hidden")) {
                    ++m_fuseHidden;
                    continue;
                }
                // A write's temporary file that a share would not let go of: no record.
                static const QRegularExpression temporary("^B[A-Z@]{3}\\d{4}\\.[^.]+\\.\\w{6}$");
                if (temporary.match(file).hasMatch()) {
                    ++m_temporaries;
                    continue;
                }
                if (!name.match(file).hasMatch())
                    m_problems << "stray file " + folder + file;
                const QString id = file.left(8);
                if (folderOf.value(id, folder) != folder)
                    m_problems << "card in both folders " + id;
                folderOf[id] = folder;
            }
        }
        return folderOf;
    }

    void expectFromLog()
    {
        for (const Entry &e : m_entries) {
            if (e.op == "NEW") {
                if (m_newName.contains(e.id))
                    m_problems << "id given twice: " + e.id;
                m_newName[e.id] = e.a;
            }
            if (e.op == "APPEND")
                m_expectedSheets[e.id] << e.a;
            if (e.op == "DELETE")
                m_deleted << e.a;
            if (e.op == "GONE")
                m_problems << "reported gone: " + e.id + " by " + e.a;
            if ((e.op == "NEW" || e.op == "SAVE") && m_lastWrite.value(e.id).ns < e.ns)
                m_lastWrite[e.id] = e;
            const QString sheetKey = e.id + ' ' + e.a;
            if (e.op == "HEADER" && m_lastHeader.value(sheetKey).ns < e.ns)
                m_lastHeader[sheetKey] = e;
        }
    }

    void expect(bool ok, const QString &problem)
    {
        if (!ok)
            m_problems << problem;
    }

    void checkCard(const QString &id, const QString &base)
    {
        expect(QFile::exists(base + ".sza"), "no .sza " + base);
        const QStringList values = CardFile::readPersonal(base + ".sza");
        expect(values[15] == id || values[0].isEmpty(), "id key " + base);
        if (m_newName.contains(id))
            expect(values[0] == m_newName[id],
                   "name of " + base + ": " + values[0] + " instead of " + m_newName[id]);
        if (m_lastWrite.contains(id))
            expect(values[kTel] == (m_lastWrite[id].op == "SAVE" ? m_lastWrite[id].a : QString()),
                   "last save of " + base);
        QFile kl(base + ".kl");
        QList<KLRecord> sheets;
        if (kl.exists()) {
            expect(SheetFile(kl.fileName()).read(sheets), "unreadable " + kl.fileName());
            expect(kl.size() == qint64(sheets.size()) * KLRecord::kRecordSize,
                   "damaged " + kl.fileName());
        }
        QStringList found;
        for (const KLRecord &sheet : sheets) {
            found << sheet.Egyeb;
            const QString sheetKey = id + ' ' + sheet.Egyeb;
            if (m_lastHeader.contains(sheetKey))
                expect(sheet.Statusz == m_lastHeader[sheetKey].b, "notes of " + sheetKey);
        }
        QStringList expected;
        for (const QString &tag : m_expectedSheets.value(id)) {
            if (!m_deleted.contains(tag))
                expected << tag;
        }
        found.sort();
        expected.sort();
        expect(found == expected,
               "sheets of " + base + ": " + found.join(',') + " instead of " + expected.join(','));
    }

    int m_fuseHidden = 0;
    int m_temporaries = 0;
    QString m_db;
    QList<Entry> m_entries;
    QStringList m_problems;
    QHash<QString, QStringList> m_expectedSheets;
    QSet<QString> m_deleted;
    QHash<QString, Entry> m_lastWrite;
    QHash<QString, Entry> m_lastHeader;
    QHash<QString, QString> m_newName;
};

int check(const QStringList &args)
{
    Checker checker(args.value(2));
    for (const QString &log : args.mid(3))
        checker.readLog(log);
    const QStringList problems = checker.problems();
    for (const QString &problem : problems)
        std::printf("%s\n", qPrintable(problem));
    std::printf("problems=%lld", qint64(problems.size()));
    for (const char *op : {"NEW", "APPEND", "HEADER", "DELETE", "SAVE", "ARC", "UNARC", "CONFLICT",
                           "INUSE", "GONE", "FAILED"})
        std::printf(" %s=%d", op, checker.count(QLatin1String(op)));
    std::printf(" fuse_hidden=%d temporaries=%d\n", checker.fuseHidden(), checker.temporaries());
    return problems.isEmpty() ? 0 : 1;
}

int run(const QStringList &args)
{
    QFile log(args.value(5));
    if (args.size() < 6 || !log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    Driver driver(args[2], args[3].toUInt(), log);
    const qint64 limit = args[4].toLongLong();
    QElapsedTimer timer;
    timer.start();
    qint64 steps = 0;
    qint64 changes = 0;
    while (timer.elapsed() < limit) {
        ++steps;
        changes += driver.step() ? 1 : 0;
    }
    std::printf("steps=%lld changes=%lld ms=%lld\n", steps, changes, timer.elapsed());
    return 0;
}

int hold(const QString &path)
{
    CardLock lock(path);
    if (!lock.acquire())
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    QThread::sleep(60);
    return 0;
}

// A lock file as a process of this host leaves it when it dies holding the lock. Made inside
// the lock's guard folder, as a holder made it: on a share whose create is not exclusive it
// would otherwise overwrite the lock of the next holder.
void leaveDeadLock(const QString &path, const QByteArray &deadPid)
{
    const QByteArray guard = QFile::encodeName(path + QStringLiteral(".d"));
    bool guarded = false;
    for (int tries = 0; tries < 100 && !guarded; ++tries) {
        guarded = ::mkdir(guard.constData(), 0700) == 0;
        if (!guarded)
            QThread::msleep(CardLock::kRetryMs);
    }
    if (!guarded)
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        file.write(deadPid + "\nstress_cards_driver\n" + QSysInfo::machineHostName().toUtf8() +
                   "\n");
    file.close();
    ::rmdir(guard.constData());
}

int contend(const QString &path, int rounds, const QByteArray &deadPid)
{
    // A folder: a share may still see a file just closed as open and keep it from removal,
    // which the next holder would count as an overlap.
    const QByteArray inside = QFile::encodeName(path + QStringLiteral(".inside"));
    int overlaps = 0;
    for (int round = 0; round < rounds; ++round) {
        CardLock lock(path);
        if (!lock.acquire(60000))
            return 1;
        // smbnetfs answers now and then with EIO: only "exists" is another holder.
        int made = ::mkdir(inside.constData(), 0700);
        for (int tries = 0; tries < 100 && made != 0 && errno == EIO; ++tries) {
            QThread::msleep(CardLock::kRetryMs);
            made = ::mkdir(inside.constData(), 0700);
        }
        if (made != 0 && errno == EEXIST)
            ++overlaps;
        QThread::usleep(500);
        for (int tries = 0; tries < 100 && ::rmdir(inside.constData()) != 0 && errno == EIO;
             ++tries)
            QThread::msleep(CardLock::kRetryMs);
        lock.release();
        leaveDeadLock(path, deadPid);
    }
    std::printf("overlaps=%d rounds=%d\n", overlaps, rounds);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("run"))
        return run(args);
    if (args.value(1) == QStringLiteral("check"))
        return check(args);
    if (args.value(1) == QStringLiteral("contend"))
        return contend(args.value(2), args.value(3).toInt(), args.value(4).toUtf8());
    if (args.value(1) == QStringLiteral("hold"))
        return hold(args.value(2));
    return 2;
}
