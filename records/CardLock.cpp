// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardLock.h"
#include "platform/FileError.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

QString CardLock::pathFor(const QString &cardBase)
{
    return cardBase + QStringLiteral(".lck");
}

CardLock::CardLock(const QString &path) : m_path(path), m_file(path)
{
    // A slow copy or a sleeping laptop may hold a card for long: age alone never frees it.
    m_file.setStaleLockTime(0);
}

bool CardLock::acquire(int waitMs)
{
    m_inUse = false;
    if (isHeld())
        return true;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (m_file.tryLock(int(deadline.remainingTime())))
            return true;
        // sftp has no answer for "exists": over sshfs another holder's lock file can come
        // back as a failure of the folder. While a lock file is there, the card is in use.
        const QLockFile::LockError error = m_file.error();
        m_inUse = error == QLockFile::LockFailedError || QFileInfo::exists(m_path);
        if (error != QLockFile::UnknownError || deadline.hasExpired()) {
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
    m_file.getLockInfo(&holder.pid, &holder.host, &holder.program);
    holder.since = QFileInfo(m_path).lastModified();
    return holder;
}

bool CardLock::takeOver()
{
    if (isHeld())
        return true;
    // QLockFile refuses to remove a lock whose holder is alive on this host.
    if (!m_file.removeStaleLockFile() && QFile::exists(m_path))
        return false;
    return acquire(0);
}

void CardLock::release()
{
    if (isHeld())
        m_file.unlock();
}
