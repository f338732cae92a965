// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardArchive.h"

#include "platform/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

bool startDetached(const QString &program, const QStringList &arguments, const QString &folder)
{
    return QProcess::startDetached(program, arguments, folder);
}

CardArchive::Launcher &launcher()
{
    static CardArchive::Launcher current = startDetached;
    return current;
}

} // namespace

QStringList CardArchive::cardFiles(const QString &folder, const QString &id)
{
    const QStringList names = QDir(folder).entryList(
        {id + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    // An id is matched as written, even where it holds wildcard characters.
    QStringList own;
    for (const QString &name : names) {
        // The lock and the lock's own remover lock (".lck.rmlock") stay with the lock folder.
        if (name.startsWith(id + QLatin1Char('.')) && !name.startsWith(id + QStringLiteral(".lck")))
            own << name;
    }
    return own;
}

namespace {

using Outcome = CardSession::Outcome;

Outcome checkMovable(const QString &id, const QStringList &names, const QString &from,
                     const QString &to, QString *culprit)
{
    for (const QString &name : names) {
        // A pipe or a device would block the copy for ever.
        const QFileInfo info(from + name);
        if (!info.isFile() || info.isSymLink()) {
            *culprit = name;
            return Outcome::NotRegularFile;
        }
    }
    if (!CardArchive::cardFiles(to, id).isEmpty())
        return Outcome::TargetTaken;
    // Read, not stat: a share that caches attributes may still report a new card as empty.
    QFile sza(from + id + QStringLiteral(".sza"));
    if (!sza.open(QIODevice::ReadOnly) || sza.read(1).isEmpty())
        return Outcome::Unfinished;
    return Outcome::Done;
}

// Every file is copied under a name of its own and then renamed into place without
// replacing anything, before any source is deleted.
Outcome moveFiles(const QStringList &names, const QString &from, const QString &to,
                  QString *culprit)
{
    QStringList added;
    auto undo = [&](Outcome outcome, const QString &name) {
        for (const QString &copy : added)
            QFile::remove(to + copy);
        *culprit = name;
        return outcome;
    };
    for (const QString &name : names) {
        const QString partial = to + QStringLiteral(".") + name + QStringLiteral(".part");
        QFile::remove(partial);
        if (!FileCopy::copyFileTo(from + name, partial).isEmpty())
            return undo(Outcome::Failed, name);
        if (!QFile::rename(partial, to + name)) {
            const bool taken = QFileInfo::exists(to + name);
            QFile::remove(partial);
            return undo(taken ? Outcome::TargetTaken : Outcome::Failed, name);
        }
        added << name;
    }
    for (const QString &name : names)
        QFile::remove(from + name);
    return Outcome::Done;
}

} // namespace

CardSession::Outcome CardArchive::moveCard(const QString &id, const QString &from,
                                           const QString &to, const QString &lockFolder,
                                           QString *culprit, int lockWaitMs)
{
    QString ignored;
    QString &named = culprit ? *culprit : ignored;
    CardLock lock(CardLock::pathFor(lockFolder + id));
    if (!lock.acquire(lockWaitMs))
        return lock.inUse() ? Outcome::InUse : Outcome::Failed;
    const QStringList names = cardFiles(from, id);
    const Outcome movable = checkMovable(id, names, from, to, &named);
    return movable == Outcome::Done ? moveFiles(names, from, to, &named) : movable;
}

QString CardArchive::siteCommandName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("lista.bat");
#else
    return QStringLiteral("lista.sh");
#endif
}

bool CardArchive::runSiteCommand(const QString &archiveFolder)
{
    if (!QFile::exists(archiveFolder + siteCommandName()))
        return false;
    QFile::remove(archiveFolder + QStringLiteral("lista.sem"));
#ifdef Q_OS_WIN
    const QString program = QStringLiteral("cmd.exe");
    const QStringList arguments = {QStringLiteral("/c"), siteCommandName()};
#else
    const QString program = QStringLiteral("/bin/sh");
    const QStringList arguments = {siteCommandName()};
#endif
    return launcher()(program, arguments, archiveFolder);
}

void CardArchive::setLauncher(Launcher launcher_)
{
    launcher() = launcher_ ? launcher_ : startDetached;
}
