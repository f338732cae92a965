// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardArchive.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileCopy.h"
#include "platform/FileMove.h"
#include "records/CardFile.h"
#include "records/CardHistory.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cerrno>

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
    // A folder that caches its listing may not list a file another workstation just made;
    // a look-up of the name asks the folder itself.
    for (const char *extension :
         {".sza", ".anm", ".pan", ".kl", ".~sza", ".~anm", ".~pan", ".~kl", ".kl$"}) {
        const QString name = id + QLatin1String(extension);
        if (!own.contains(name) && QFileInfo::exists(folder + name))
            own << name;
    }
    return own;
}

namespace {

using Outcome = CardSession::Outcome;

const QString kSza = QStringLiteral(".sza");

QString partialName(const QString &name)
{
    return QStringLiteral(".") + name + QStringLiteral(".part");
}

QByteArray contentsOf(const QString &path, bool *read)
{
    QByteArray bytes;
    *read = BoundedFile::read(path, FileCopy::kMaxBytes, bytes) == BoundedFile::Read;
    return bytes;
}

bool holdsBytes(const QString &path)
{
    bool read = false;
    return !contentsOf(path, &read).isEmpty() && read;
}

bool sameContents(const QString &a, const QString &b)
{
    bool readA = false;
    bool readB = false;
    const QByteArray bytesA = contentsOf(a, &readA);
    return contentsOf(b, &readB) == bytesA && readA && readB;
}

// The .sza goes last when files are renamed and is removed first when they were copied: so
// the folder that holds the .sza after an interruption is the one the card belongs to.
QStringList szaLast(QStringList names, const QString &id)
{
    if (names.removeOne(id + kSza))
        names.append(id + kSza);
    return names;
}

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
    QByteArray sza;
    if (BoundedFile::read(from + id + kSza, BoundedFile::kTextLimit, sza) != BoundedFile::Read ||
        sza.isEmpty())
        return Outcome::Unfinished;
    return Outcome::Done;
}

Outcome refused(int error, const QString &name, QString *culprit)
{
    *culprit = name;
    return error == EEXIST ? Outcome::TargetTaken : Outcome::Failed;
}

// Each file renamed into place, never over another; on a refusal the card goes back whole.
Outcome renameFiles(const QStringList &names, const QString &from, const QString &to,
                    QString *culprit, bool *otherDevice)
{
    QStringList moved;
    for (const QString &name : names) {
        int error = 0;
        if (FileMove::withoutReplacing(from + name, to + name, nullptr, &error)) {
            moved << name;
            continue;
        }
        for (const QString &back : moved)
            FileMove::withoutReplacing(to + back, from + back);
        *otherDevice = error == EXDEV && moved.isEmpty();
        return refused(error, name, culprit);
    }
    return Outcome::Done;
}

// Where the archive is another file system: every file copied under a name of its own and
// renamed into place without replacing anything, before any source is removed.
Outcome copyFiles(const QStringList &names, const QString &from, const QString &to,
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
        const QString partial = to + partialName(name);
        QFile::remove(partial);
        if (!FileCopy::copyFileTo(from + name, partial).isEmpty())
            return undo(Outcome::Failed, name);
        int error = 0;
        if (!FileMove::withoutReplacing(partial, to + name, nullptr, &error)) {
            QFile::remove(partial);
            return undo(error == EEXIST ? Outcome::TargetTaken : Outcome::Failed, name);
        }
        added << name;
    }
    QStringList removals = names;
    std::reverse(removals.begin(), removals.end());
    for (const QString &name : removals)
        QFile::remove(from + name);
    return Outcome::Done;
}

bool &renameAcrossFolders()
{
    static bool usable = true;
    return usable;
}

Outcome moveFiles(const QString &id, const QStringList &names, const QString &from,
                  const QString &to, QString *culprit)
{
    const QStringList ordered = szaLast(names, id);
    if (!renameAcrossFolders())
        return copyFiles(ordered, from, to, culprit);
    bool otherDevice = false;
    const Outcome renamed = renameFiles(ordered, from, to, culprit, &otherDevice);
    return otherDevice ? copyFiles(ordered, from, to, culprit) : renamed;
}

QString historyOf(const QString &folder, const QString &id)
{
    return QDir::cleanPath(CardHistory(folder, id).path());
}

QString historyPartial(const QString &folder, const QString &id)
{
    return CardHistory::historyRoot(folder) + QStringLiteral(".") + id + QStringLiteral(".part");
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) ||
            !FileCopy::copyFileTo(source, target).isEmpty())
            return false;
    }
    return true;
}

// The card's history folder goes with its files: renamed, or where the archive is another
// file system copied under a name of its own and renamed into place before the source goes.
Outcome moveHistory(const QString &id, const QString &from, const QString &to, QString *culprit)
{
    const QString source = historyOf(from, id);
    const QString target = historyOf(to, id);
    if (!QFileInfo::exists(source))
        return Outcome::Done;
    const QString named = QStringLiteral("history/") + id;
    if (!QDir().mkpath(CardHistory::historyRoot(to)))
        return refused(0, named, culprit);
    int error = 0;
    if (renameAcrossFolders() && FileMove::withoutReplacing(source, target, nullptr, &error))
        return Outcome::Done;
    if (renameAcrossFolders() && error != EXDEV)
        return refused(error, named, culprit);
    const QString partial = historyPartial(to, id);
    QDir(partial).removeRecursively();
    if (!copyTree(source, partial) ||
        !FileMove::withoutReplacing(partial, target, nullptr, &error)) {
        QDir(partial).removeRecursively();
        return refused(error, named, culprit);
    }
    QDir(source).removeRecursively();
    return Outcome::Done;
}

// An interrupted move may leave the history in the other folder, or (copied) in both.
Outcome historySplit(const QString &id, const QString &home, const QString &other, QString *culprit)
{
    const QString log = QStringLiteral("/changes.log");
    if (QFileInfo::exists(historyOf(home, id)) && QFileInfo::exists(historyOf(other, id)) &&
        !sameContents(historyOf(home, id) + log, historyOf(other, id) + log)) {
        *culprit = QStringLiteral("history/") + id + log;
        return Outcome::Split;
    }
    return Outcome::Done;
}

Outcome settleHistory(const QString &id, const QString &home, const QString &other,
                      QString *culprit)
{
    QDir(historyPartial(home, id)).removeRecursively();
    QDir(historyPartial(other, id)).removeRecursively();
    if (!QFileInfo::exists(historyOf(other, id)))
        return Outcome::Done;
    // Both whole with one log: the copy was finished and renamed into place before its source.
    if (QFileInfo::exists(historyOf(home, id))) {
        QDir(historyOf(other, id)).removeRecursively();
        return Outcome::Done;
    }
    return moveHistory(id, other, home, culprit);
}

// A move is logged before it is made, so that the line travels with the history; a move that
// fails takes the line back.
class MoveLine
{
public:
    MoveLine(const QString &folder, const QString &id) : m_history(folder, id)
    {
        m_hadFolder = QFileInfo::exists(m_history.path());
        m_status = BoundedFile::read(m_history.logPath(), CardHistory::kLogLimit, m_before);
    }
    bool log(const QString &action, QString *culprit)
    {
        HistoryEntry entry;
        entry.action = action;
        if (m_history.log(entry))
            return true;
        *culprit = m_history.failure();
        return false;
    }
    void takeBack()
    {
        if (!m_hadFolder)
            QDir(m_history.path()).removeRecursively();
        else if (m_status == BoundedFile::Read)
            AtomicFile::write(m_history.logPath(), m_before);
        else
            QFile::remove(m_history.logPath());
    }

private:
    CardHistory m_history;
    bool m_hadFolder = false;
    BoundedFile::Status m_status = BoundedFile::Missing;
    QByteArray m_before;
};

// An empty .sza whose lock could be taken was claimed by a workstation that stopped before it
// wrote the card. Alone it holds nothing and goes; with files beside it, it becomes their card.
void finishClaim(const QString &id, const QString &dbPath)
{
    QByteArray bytes;
    const QString sza = dbPath + id + kSza;
    if (BoundedFile::read(sza, BoundedFile::kTextLimit, bytes) != BoundedFile::Read ||
        !bytes.isEmpty())
        return;
    if (CardArchive::cardFiles(dbPath, id) == QStringList{id + kSza}) {
        QFile::remove(sza);
        return;
    }
    QStringList values(CardFile::keys().size());
    values[CardFile::keys().indexOf(QStringLiteral("ID"))] = id;
    CardFile::writePersonal(sza, values);
}

} // namespace

QString CardArchive::moveMarker(const QString &dbPath, const QString &id)
{
    return dbPath + QStringLiteral(".") + id + QStringLiteral(".move");
}

CardSession::Outcome CardArchive::settle(const QString &id, const QString &dbPath,
                                         const QString &arcPath, QString *culprit)
{
    QString ignored;
    QString &named = culprit ? *culprit : ignored;
    finishClaim(id, dbPath);
    const QString marker = moveMarker(dbPath, id);
    QByteArray target;
    if (BoundedFile::read(marker, BoundedFile::kTextLimit, target) != BoundedFile::Read)
        return Outcome::Done;
    for (const QString &folder : {dbPath, arcPath}) {
        const QStringList partials = QDir(folder).entryList(
            {QStringLiteral(".") + id + QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
        for (const QString &partial : partials)
            QFile::remove(folder + partial);
    }
    // The card belongs where its .sza is; where both folders hold it, every copy was made
    // and checked, and the move is finished.
    const bool toDb = target == "db";
    const QString sza = id + kSza;
    const bool dbHas = holdsBytes(dbPath + sza);
    const bool arcHas = holdsBytes(arcPath + sza);
    const bool dbHome = dbHas && arcHas ? toDb : dbHas || (!arcHas && !toDb);
    const QString home = dbHome ? dbPath : arcPath;
    const QString other = dbHome ? arcPath : dbPath;
    const QStringList homeFiles = cardFiles(home, id);
    const QStringList otherFiles = cardFiles(other, id);
    // Nothing is touched until every file in both folders is known to be one card.
    // An empty file is the name claimed for a move on a share that renames only by replacing.
    for (const QString &name : otherFiles) {
        if (homeFiles.contains(name) && holdsBytes(other + name) &&
            !sameContents(home + name, other + name)) {
            named = name;
            return Outcome::Split;
        }
    }
    if (const Outcome split = historySplit(id, home, other, &named); split != Outcome::Done)
        return split;
    for (const QString &name : otherFiles) {
        if (homeFiles.contains(name))
            QFile::remove(other + name);
        else if (int error = 0;
                 !FileMove::withoutReplacing(other + name, home + name, nullptr, &error))
            return refused(error, name, &named);
    }
    if (const Outcome history = settleHistory(id, home, other, &named); history != Outcome::Done)
        return history;
    // The line logged before the move said where the card was going; it stayed.
    if (dbHome != toDb) {
        HistoryEntry entry;
        entry.action = dbHome ? QStringLiteral("card-activated") : QStringLiteral("card-archived");
        entry.note = QStringLiteral("move interrupted");
        CardHistory(home, id).log(entry);
    }
    QFile::remove(marker);
    return Outcome::Done;
}

CardSession::Outcome CardArchive::moveCard(const QString &id, const QString &from,
                                           const QString &to, const QString &lockFolder,
                                           QString *culprit, int lockWaitMs)
{
    QString ignored;
    QString &named = culprit ? *culprit : ignored;
    CardLock lock(CardLock::pathFor(lockFolder + id));
    if (!lock.acquire(lockWaitMs))
        return lock.inUse() ? Outcome::InUse : Outcome::Failed;
    const bool toDb = QFileInfo(to) == QFileInfo(lockFolder);
    const QString db = toDb ? to : from;
    const QString arc = toDb ? from : to;
    const Outcome settled = settle(id, db, arc, &named);
    if (settled != Outcome::Done)
        return settled;
    const QStringList names = cardFiles(from, id);
    const Outcome movable = checkMovable(id, names, from, to, &named);
    if (movable != Outcome::Done)
        return movable;
    if (QFileInfo::exists(historyOf(from, id)) && QFileInfo::exists(historyOf(to, id))) {
        named = QStringLiteral("history/") + id;
        return Outcome::TargetTaken;
    }
    // Tells whoever touches the card next, should this move be cut short, where it went.
    const QString marker = moveMarker(db, id);
    if (!AtomicFile::write(marker, toDb ? "db" : "arc")) {
        named = marker;
        return Outcome::Failed;
    }
    MoveLine line(from, id);
    if (!line.log(toDb ? QStringLiteral("card-activated") : QStringLiteral("card-archived"),
                  &named))
        return Outcome::Failed;
    Outcome moved = moveHistory(id, from, to, &named);
    if (moved == Outcome::Done) {
        moved = moveFiles(id, names, from, to, &named);
        QString ignored;
        if (moved != Outcome::Done)
            moveHistory(id, to, from, &ignored);
    }
    if (moved != Outcome::Done)
        line.takeBack();
    // A move whose undo failed too keeps its marker: the next touch finishes it.
    if (moved == Outcome::Done || cardFiles(to, id).isEmpty())
        QFile::remove(marker);
    return moved;
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

void CardArchive::setRenameAcrossFolders(bool usable)
{
    renameAcrossFolders() = usable;
}

void CardArchive::setLauncher(Launcher launcher_)
{
    launcher() = launcher_ ? launcher_ : startDetached;
}
