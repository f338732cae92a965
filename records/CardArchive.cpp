#include "records/CardArchive.h"

#include "platform/FileCopy.h"

#include <QDir>
#include <QFile>
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
        if (name.startsWith(id + QLatin1Char('.')) && name != id + QStringLiteral(".lck"))
            own << name;
    }
    return own;
}

bool CardArchive::MoveCardFiles(const QString &id, const QString &from, const QString &to)
{
    // Every file is copied before any is deleted, so a failed copy never splits a card
    // between the folders.
    const QStringList names = cardFiles(from, id);
    QStringList added;
    for (const QString &name : names) {
        const bool existed = QFile::exists(to + name);
        if (!FileCopy::copyFileTo(from + name, to + name).isEmpty()) {
            for (const QString &copy : added)
                QFile::remove(to + copy);
            return false;
        }
        if (!existed)
            added << name;
    }
    for (const QString &name : names)
        QFile::remove(from + name);
    return true;
}

CardArchive::MoveResult CardArchive::moveUnlockedCard(const QString &id, const QString &from,
                                                      const QString &to, const QString &lockFolder,
                                                      const CardLock::Clock &clock)
{
    CardLock lock(CardLock::pathFor(lockFolder + id), clock);
    // A folder that takes no lock file takes no moved file either: the copy reports it.
    if (!lock.acquire() && lock.inUse())
        return MoveResult::InUse;
    return MoveCardFiles(id, from, to) ? MoveResult::Moved : MoveResult::CopyFailed;
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
