// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/BackupResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Reads the cards' files for a backup into memory, each card's files while its lock is held,
// on several threads, and hands the cards out in the order of their ids. Taking a card lock
// means a synced write and a removal of its lock file, which wait for the disk or the
// server: one after another they, not the reading, bound a backup of many cards.
class BackupCardReader
{
public:
    struct File
    {
        QString relative;
        QByteArray bytes;
        QByteArray digest;
        QDateTime modified;
    };

    struct Card
    {
        enum class State
        {
            Read,
            // Another holder kept the lock for the whole wait.
            Busy,
            // More than a reader may keep in memory: to be read as a stream under the lock.
            Large,
            Failed,
        };
        QString id;
        State state = State::Read;
        QList<File> files;
        BackupResult failure;
    };

    static constexpr int kThreads = 32;
    // Cards read ahead of the one handed out, each at most kCardBytes.
    static constexpr int kAhead = 64;
    static constexpr qint64 kCardBytes = 1 << 20;

    // `listed`: the card files found in the folder, relative to `db`, by card id.
    BackupCardReader(const QString &db, const QMap<QString, QSet<QString>> &listed, qint64 waitMs);
    ~BackupCardReader();
    BackupCardReader(const BackupCardReader &) = delete;
    BackupCardReader &operator=(const BackupCardReader &) = delete;

    // The next card; waits until it is read. Call once per listed card.
    Card next();

    // The card a file belongs to by its path relative to the database folder: the id its
    // name begins with, every extension and backup alike, and the id of its history folder
    // history/<id>/ (<id>~<time>/ once deleted), in the folder and in arc/. Empty for none.
    static QString cardOf(const QString &relative);
    // What a card has now, looked at under its lock: the files listed before, those it may
    // have gained since (a save, a deletion, an archiving) and its history; sorted.
    static QStringList filesOf(const QString &db, const QString &id, const QSet<QString> &listed);

private:
    void work();
    Card read(const QString &id) const;

    QString m_db;
    QMap<QString, QSet<QString>> m_listed;
    QStringList m_ids;
    qint64 m_waitMs;
    std::mutex m_mutex;
    // A card read that next() waits for; room to read one more ahead.
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::vector<std::optional<Card>> m_cards;
    int m_taken = 0;
    int m_handedOut = 0;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};
