// One workstation's worth of card work on a shared database folder, for the
// several-workstation stress test. It uses the record classes the way the cards
// window and the archive window do, and logs every change that succeeded:
//   stress_cards_driver run <folder/> <seed> <milliseconds> <log file>
//   stress_cards_driver hold <lock file>     (takes a card lock and keeps it until killed)
#include "platform/FileCopy.h"
#include "records/CardArchive.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/CardFingerprint.h"
#include "records/CardLock.h"
#include "records/PatientId.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <optional>
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

    // The card's lock, held only while the card is still in the database folder.
    bool lockCard(CardLock &lock, const QString &id)
    {
        if (!lock.acquire()) {
            log(QStringLiteral("INUSE"), id, tag());
            return false;
        }
        return QFile::exists(m_db + id + QStringLiteral(".sza"));
    }

    bool newCard()
    {
        const QString offered = PatientId::NewPatientId(kDay, m_db, m_arc);
        const QString id = CardClaim::claim(offered, kDay, m_db, m_arc);
        if (id.isEmpty())
            return false;
        CardFingerprint seen;
        seen.take(m_db + id);
        CardLock lock(CardLock::pathFor(m_db + id));
        if (!lockCard(lock, id) || !seen.matches(m_db + id))
            return false;
        QStringList values(CardFile::keys().size());
        values[0] = tag();
        values[15] = id;
        if (!CardFile::writePersonal(m_db + id + QStringLiteral(".sza"), values))
            return false;
        log(QStringLiteral("NEW"), id, tag());
        return true;
    }

    // A card of the database folder picked at random, locked while it lives, and one of its
    // sheets.
    struct Chosen
    {
        QString id;
        std::optional<CardLock> lock;
        QList<KLRecord> sheets;
        int index = 0;
    };

    bool lockRandomCard(Chosen &card)
    {
        card.id = pick(m_db);
        if (card.id.isEmpty())
            return false;
        card.lock.emplace(CardLock::pathFor(m_db + card.id));
        return lockCard(*card.lock, card.id);
    }

    bool lockRandomSheet(Chosen &card)
    {
        if (!lockRandomCard(card) ||
            !SheetFile(m_db + card.id + QStringLiteral(".kl")).read(card.sheets) ||
            card.sheets.isEmpty())
            return false;
        card.index = int(m_rng() % card.sheets.size());
        return true;
    }

    bool appendSheet()
    {
        Chosen card;
        if (!lockRandomCard(card))
            return false;
        KLRecord sheet;
        sheet.Egyeb = tag();
        sheet.Readings.fill(int(m_count));
        if (!SheetFile(m_db + card.id + QStringLiteral(".kl")).append(sheet))
            return false;
        log(QStringLiteral("APPEND"), card.id, tag());
        return true;
    }

    bool saveHeader()
    {
        Chosen card;
        if (!lockRandomSheet(card))
            return false;
        KLRecord edited = card.sheets[card.index];
        edited.Statusz = tag();
        if (!SheetFile(m_db + card.id + QStringLiteral(".kl")).writeHeader(card.index, edited))
            return false;
        log(QStringLiteral("HEADER"), card.id, edited.Egyeb, tag());
        return true;
    }

    bool deleteSheet()
    {
        Chosen card;
        if (!lockRandomSheet(card))
            return false;
        const QString base = m_db + card.id;
        if (!FileCopy::copyFileTo(base + QStringLiteral(".kl"), base + QStringLiteral(".~kl"))
                 .isEmpty() ||
            !SheetFile(base + QStringLiteral(".kl"))
                 .removeSheet(card.index, base + QStringLiteral(".kl$")))
            return false;
        log(QStringLiteral("DELETE"), card.id, card.sheets[card.index].Egyeb);
        return true;
    }

    // Opened, edited for a moment, saved: refused when the card changed meanwhile.
    bool saveCard()
    {
        const QString id = pick(m_db);
        if (id.isEmpty())
            return false;
        const QString base = m_db + id;
        CardFingerprint seen;
        seen.take(base);
        QStringList values = CardFile::readPersonal(base + QStringLiteral(".sza"));
        if (values[0].isEmpty())
            return false;
        QThread::usleep(m_rng() % 2000);
        CardLock lock(CardLock::pathFor(base));
        if (!lockCard(lock, id))
            return false;
        if (!seen.matches(base)) {
            log(QStringLiteral("CONFLICT"), id, tag());
            return false;
        }
        values[kTel] = tag();
        if (!CardFile::writePersonal(base + QStringLiteral(".sza"), values))
            return false;
        log(QStringLiteral("SAVE"), id, tag());
        return true;
    }

    bool moveCard()
    {
        const bool back = m_rng() % 2 == 0;
        const QString id = pick(back ? m_arc : m_db);
        if (id.isEmpty())
            return false;
        const auto moved = back ? CardArchive::moveUnlockedCard(id, m_arc, m_db, m_db)
                                : CardArchive::moveUnlockedCard(id, m_db, m_arc, m_db);
        if (moved != CardArchive::MoveResult::Moved)
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("run"))
        return run(args);
    if (args.value(1) == QStringLiteral("hold"))
        return hold(args.value(2));
    return 2;
}
