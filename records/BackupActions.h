// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/BackupResult.h"

#include <QString>
#include <functional>

class QWidget;

// The windows' side of backing up and restoring: they ask, show the progress with a Cancel
// button and report; the work itself runs on a thread of its own.
class BackupActions
{
public:
    // Asks for the folder, starting from the last one; true when a verified backup was made.
    static bool backup(QWidget *parent);
    // True when the restored folder became the database folder.
    static bool restore(QWidget *parent);
    // The exit question; when the last backup is older than the settings allow, it offers one
    // first. True when the program may end.
    static bool askExit(QWidget *parent);

private:
    static bool backupInto(QWidget *parent, const QString &folder);
    static void useAsDatabase(const QString &folder);
    static BackupResult
    withProgress(QWidget *parent, const QString &label,
                 const std::function<BackupResult(const BackupProgress &)> &work);
    static QString text(const QString &key);
};
