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
    // or whose .sza is still empty. A failed move leaves the card whole in `from`; one that
    // was interrupted is settled first.
    static CardSession::Outcome moveCard(const QString &id, const QString &from, const QString &to,
                                         const QString &lockFolder, QString *culprit = nullptr,
                                         int lockWaitMs = CardLock::kWaitMs);
    // Finishes what an interruption left, under the card's lock held by the caller: a move
    // (its marker names the target) ends with the card whole in the folder that holds its
    // .sza, duplicates removed only when identical; Split (the file in `culprit`) when the
    // two halves differ, and then nothing is touched. An empty .sza whose lock was free is a
    // claim never completed: alone it goes, beside other files it becomes their card.
    static CardSession::Outcome settle(const QString &id, const QString &dbPath,
                                       const QString &arcPath, QString *culprit = nullptr);

    // The hidden file in the database folder that marks a move of the card in progress.
    static QString moveMarker(const QString &dbPath, const QString &id);

    // "lista.sh" on Linux ("lista.bat" on Windows) in the archive folder.
    static QString siteCommandName();
    // When the site command exists: deletes "lista.sem", then starts the command in
    // the archive folder without waiting. Returns whether it was started.
    static bool runSiteCommand(const QString &archiveFolder);
    // Tests watch the start instead of running a process.
    static void setLauncher(Launcher launcher);
    // Tests copy as moves into an archive on another file system do.
    static void setRenameAcrossFolders(bool usable);
};
