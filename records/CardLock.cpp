// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardLock.h"

#include <QFile>
#include <QFileInfo>

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
    if (m_file.tryLock(waitMs))
        return true;
    m_inUse = m_file.error() == QLockFile::LockFailedError;
    return false;
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
