// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/BackupResult.h"

#include <QDateTime>
#include <QString>

// How long a card's lock is waited for, first and, for the cards still in use at the end, once
// more.
struct BackupLockWaits
{
    qint64 firstMs = 2000;
    qint64 retryMs = 5000;
};

// Backs the database folder up into one zip: every file of it and of its subfolders, lock
// files left out, each card's files read while that card's lock is held. The zip is written
// beside its final name, read back against its manifest and only then renamed; a cancelled
// or failed backup leaves no file.
class BackupWriter
{
public:
    static QString fileNameFor(const QDateTime &when);
    static BackupResult write(const QString &dbPath, const QString &targetFolder,
                              const QDateTime &when, const BackupProgress &progress = {},
                              const BackupLockWaits &waits = BackupLockWaits());
    // Whether the folder holds a card, in itself or in its archive: something to lose.
    static bool holdsCards(const QString &dbPath);
};
