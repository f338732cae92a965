#pragma once

#include "records/CardLock.h"

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

    enum class MoveResult
    {
        Moved,
        InUse,
        CopyFailed
    };

    // Every file of the id with any extension, backups included; never its lock.
    static QStringList cardFiles(const QString &folder, const QString &id);
    // Copies each file into `to`, replacing one of the same name, then deletes them in
    // `from`. When a copy fails the card stays whole in `from`: nothing there is
    // deleted, the copies that added a file to `to` are removed again, and the result is
    // false.
    static bool MoveCardFiles(const QString &id, const QString &from, const QString &to);
    // MoveCardFiles while holding the card's lock in `lockFolder`; a card that another
    // workstation keeps locked stays where it is.
    static MoveResult moveUnlockedCard(const QString &id, const QString &from, const QString &to,
                                       const QString &lockFolder,
                                       const CardLock::Clock &clock = CardLock::systemClock());

    // "lista.sh" on Linux ("lista.bat" on Windows) in the archive folder.
    static QString siteCommandName();
    // When the site command exists: deletes "lista.sem", then starts the command in
    // the archive folder without waiting. Returns whether it was started.
    static bool runSiteCommand(const QString &archiveFolder);
    // Tests watch the start instead of running a process.
    static void setLauncher(Launcher launcher);
};
