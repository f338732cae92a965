// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/HistoryEntry.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// One card's history in one folder (the database folder or its archive): the change log
// and the versions that changes replaced, gzip-packed in each file's own format. Lives
// in folder + "history/" + id + "/", where no card listing looks. Every writer holds the
// card's lock. A deleted card's history is renamed to id + "~" + UTC stamp; pass that
// folder name as `id` to read it.
class CardHistory
{
public:
    static constexpr qint64 kLogLimit = 64 * 1024 * 1024;

    CardHistory(QString folder, QString id);
    static QString historyRoot(const QString &folder);
    QString path() const;
    QString logPath() const;
    QString versionsPath() const;
    // Oldest first; empty with `error` set when the log is there but cannot be read.
    QList<HistoryEntry> entries(QString *error = nullptr) const;
    // The version's bytes, unpacked: the file's own format (a .kl version is one sheet,
    // or the whole sheet file for a deleted card).
    bool readVersion(const QString &version, QByteArray &bytes, QString *error = nullptr) const;

    // The replaced bytes packed and flushed; the version's name, empty on failure.
    QString keepVersion(const QString &extension, const QByteArray &replaced);
    // Fills when, host and user where they are empty.
    bool log(const HistoryEntry &entry);
    bool log(const QList<HistoryEntry> &entries);
    static QString digest(const QByteArray &bytes);
    // Why the last writer failed: the file and the operating system's reason.
    const QString &failure() const { return m_failure; }

    struct DeletedCard
    {
        QString id;
        QString folderName;
        QDateTime deleted;
        QString name;
        QString birthDate;
    };
    // Cards deleted from the database folder, newest first.
    static QList<DeletedCard> deletedCards(const QString &dbPath);
    // The name of a deleted card's history folder, deleted at `when`.
    static QString deletedFolderName(const QString &id, const QDateTime &when);

    // Drops the lines and versions older than `years` years from every card's history in
    // the database folder and its archive, and logs "history-pruned" with the cut-off date.
    // The number of versions removed, -1 with `error` set on a failure.
    static int prune(const QString &dbPath, int years, QString *error = nullptr);
    static int prune(const QString &dbPath, const QDate &cutOff, QString *error = nullptr);

    // The log line of an entry, and back.
    static QByteArray formatLine(const HistoryEntry &entry);
    static bool parseLine(const QByteArray &line, HistoryEntry &entry);

private:
    bool writeLog(const QByteArray &bytes);
    // -1 on a failure (failure() says why).
    int pruneBefore(const QDate &cutOff);

    QString m_folder;
    QString m_id;
    QString m_failure;
};
