// One workstation's worth of card work on a shared database folder, for the
// several-workstation stress test. It uses the card session the way the cards
// window and the archive window do, and logs every change that succeeded:
//   stress_cards_driver run <folder/> <seed> <milliseconds> <log file>
//   stress_cards_driver hold <lock file>     (takes a card lock and keeps it until killed)
//   stress_cards_driver contend <lock file> <rounds> <dead pid>
//       (takes the lock `rounds` times, each time leaving it behind as if it had died while
//        holding it; prints how often another holder was inside at the same time)
#include "records/CardArchive.h"
#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/CardSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <random>

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

// A lock file as a process of this host leaves it when it dies holding the lock.
void leaveDeadLock(const QString &path, const QByteArray &deadPid)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        file.write(deadPid + "\nstress_cards_driver\n" + QSysInfo::machineHostName().toUtf8() +
                   "\n");
}

int contend(const QString &path, int rounds, const QByteArray &deadPid)
{
    const QString inside = path + QStringLiteral(".inside");
    int overlaps = 0;
    for (int round = 0; round < rounds; ++round) {
        CardLock lock(path);
        if (!lock.acquire(60000))
            return 1;
        QFile marker(inside);
        if (!marker.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            ++overlaps;
        marker.close();
        QThread::usleep(500);
        QFile::remove(inside);
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
    if (args.value(1) == QStringLiteral("contend"))
        return contend(args.value(2), args.value(3).toInt(), args.value(4).toUtf8());
    if (args.value(1) == QStringLiteral("hold"))
        return hold(args.value(2));
    return 2;
}
