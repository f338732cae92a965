// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardLock.h"
#include "platform/FileError.h"
#include "platform/MountKind.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

QString CardLock::pathFor(const QString &cardBase)
{
    return cardBase + QStringLiteral(".lck");
}

namespace {

bool &guardEverywhere()
{
    static bool everywhere = false;
    return everywhere;
}

} // namespace

CardLock::CardLock(const QString &path)
    : m_path(path), m_file(path),
      m_guarded(guardEverywhere() || !MountKind::traitsAt(path).exclusiveCreate)
{
    // A slow copy or a sleeping laptop may hold a card for long: age alone never frees it.
    m_file.setStaleLockTime(0);
}

void CardLock::setGuardEverywhere(bool guard)
{
    guardEverywhere() = guard;
}

bool CardLock::enterGuard(const QDeadlineTimer &deadline) const
{
    if (!m_guarded)
        return true;
    const QByteArray guard = QFile::encodeName(m_path + QStringLiteral(".d"));
    for (;;) {
        if (::mkdir(guard.constData(), 0700) == 0)
            return true;
        // smbnetfs answers two makers on one mount with errors other than EEXIST too; a
        // folder that takes no folder at all fails at the deadline.
        // Held only while a lock file is made, read or removed: an old one is an orphan.
        const QDateTime since = QFileInfo(m_path + QStringLiteral(".d")).lastModified();
        if (since.isValid() && since.msecsTo(QDateTime::currentDateTime()) > kGuardStaleMs &&
            ::rmdir(guard.constData()) == 0)
            continue;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryMs);
    }
}

bool CardLock::leftByDeadProcess() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    return m_file.getLockInfo(&pid, &host, &program) && pid > 0 &&
           host == QSysInfo::machineHostName() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

void CardLock::leaveGuard() const
{
    if (!m_guarded)
        return;
    // smbnetfs fails a removal with EIO now and then; a guard left behind would hold the card
    // until it is stale.
    const QByteArray guard = QFile::encodeName(m_path + QStringLiteral(".d"));
    for (int tries = 0; tries < kRemoveTries && ::rmdir(guard.constData()) != 0 && errno == EIO;
         ++tries)
        QThread::msleep(kRetryMs);
}

bool CardLock::acquire(int waitMs)
{
    m_inUse = false;
    if (isHeld())
        return true;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (!enterGuard(deadline)) {
            m_inUse = QFileInfo::exists(m_path + QStringLiteral(".d"));
            return false;
        }
        bool locked = m_file.tryLock(m_guarded ? 0 : int(deadline.remainingTime()));
        // A share will not remove a file its remover holds open, as QLockFile's own removal
        // of a stale lock does; inside the guard nobody else looks at it.
        if (!locked && m_guarded && leftByDeadProcess() && removeOnceClosed())
            locked = m_file.tryLock(0);
        leaveGuard();
        if (locked)
            return true;
        // sftp has no answer for "exists": over sshfs another holder's lock file can come
        // back as a failure of the folder. While a lock file is there, the card is in use.
        const QLockFile::LockError error = m_file.error();
        m_inUse = error == QLockFile::LockFailedError || QFileInfo::exists(m_path);
        const bool again = error == QLockFile::UnknownError || (m_guarded && m_inUse);
        if (!again || deadline.hasExpired()) {
            if (!m_inUse)
                FileError::noteFolderOf(m_path);
            return false;
        }
        QThread::msleep(kRetryMs);
    }
}

CardLock::Holder CardLock::holder() const
{
    Holder holder;
    const bool guarded = enterGuard(QDeadlineTimer(kWaitMs));
    m_file.getLockInfo(&holder.pid, &holder.host, &holder.program);
    if (guarded)
        leaveGuard();
    holder.since = QFileInfo(m_path).lastModified();
    return holder;
}

bool CardLock::takeOver()
{
    if (isHeld())
        return true;
    if (!enterGuard(QDeadlineTimer(kWaitMs)))
        return false;
    // QLockFile refuses to remove a lock whose holder is alive on this host.
    const bool removed = m_file.removeStaleLockFile() || !QFile::exists(m_path);
    leaveGuard();
    return removed && acquire(0);
}

void CardLock::release()
{
    if (!isHeld())
        return;
    // A share refuses to remove a file that another client is reading: none reads it now.
    // Waited for as long as a guard can live: a lock file left behind would keep the card
    // in use by this very process.
    const bool guarded = enterGuard(QDeadlineTimer(kGuardStaleMs));
    m_file.unlock();
    if (!m_guarded)
        return;
    // QLockFile's own removal may have come too early. Nobody else makes one now.
    removeOnceClosed();
    if (guarded)
        leaveGuard();
}

bool CardLock::removeOnceClosed() const
{
    // FUSE closes a file after the close call has returned, and a share will not remove a
    // file that is still open.
    for (int tries = 0; tries < kRemoveTries; ++tries) {
        if (QFile::remove(m_path) || !QFileInfo::exists(m_path))
            return true;
        QThread::msleep(kRetryMs);
    }
    return false;
}
