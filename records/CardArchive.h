// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardSession.h"

#include <QString>
#include <QStringList>
#include <functional>

// Moving whole cards between the database folder and the archive folder, and the
// site's command that runs whenever the folders are listed.
class CardArchive
{
public:
    // Starts a program detached in a working folder; true when it started.
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments,
                                        const QString &workingFolder)>;

    // Every file of the id with any extension, backups included; never its lock files.
    static QStringList cardFiles(const QString &folder, const QString &id);
    // Moves every file of the card from `from` into `to` while holding the card's lock in
    // `lockFolder`. Nothing in `to` is ever replaced: a card whose id has a file there stays
    // where it is, and so does one with a file that is no regular file (named in `culprit`)
    // or whose .sza is still empty. A failed copy leaves the card whole in `from`.
    static CardSession::Outcome moveCard(const QString &id, const QString &from, const QString &to,
                                         const QString &lockFolder, QString *culprit = nullptr,
                                         int lockWaitMs = CardLock::kWaitMs);

    // "lista.sh" on Linux ("lista.bat" on Windows) in the archive folder.
    static QString siteCommandName();
    // When the site command exists: deletes "lista.sem", then starts the command in
    // the archive folder without waiting. Returns whether it was started.
    static bool runSiteCommand(const QString &archiveFolder);
    // Tests watch the start instead of running a process.
    static void setLauncher(Launcher launcher);
};
