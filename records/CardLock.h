// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QString>

// A short lock on one card for every workstation that shares the database folder: the
// file <id>.lck beside the card, kept by Qt's QLockFile. A lock left by a process that
// died on this host is removed by QLockFile itself; another host's lock is never taken
// over by age, only when the user decides so (takeOver).
class CardLock
{
public:
    // Who keeps the lock, as its file tells.
    struct Holder
    {
        QString host;
        qint64 pid = 0;
        QString program;
        QDateTime since;
    };

    static constexpr int kWaitMs = 1500;
    // Pause before trying again after the folder failed to make the lock file.
    static constexpr int kRetryMs = 20;

    static QString pathFor(const QString &cardBase);

    explicit CardLock(const QString &path);
    ~CardLock() { release(); }
    CardLock(const CardLock &) = delete;
    CardLock &operator=(const CardLock &) = delete;

    const QString &path() const { return m_path; }
    // Tries until the lock is held or `waitMs` has passed. False also when the folder takes
    // no lock file; nothing may be written then.
    bool acquire(int waitMs = kWaitMs);
    bool isHeld() const { return m_file.isLocked(); }
    // After a failed acquire: another holder kept it (rather than the folder refusing the file).
    bool inUse() const { return m_inUse; }
    // The holder of a lock that acquire could not take.
    Holder holder() const;
    // Removes another holder's lock file, then takes the lock. Only on the user's word.
    bool takeOver();
    void release();

    // Tests guard the lock file on a local folder too.
    static void setGuardEverywhere(bool guard);
    // A guard this old was left by a process that stopped inside it.
    static constexpr int kGuardStaleMs = 30000;
    // Removals of a released lock file that a share still sees open, kRetryMs apart.
    static constexpr int kRemoveTries = 100;

private:
    // Through smbnetfs an exclusive create is not exclusive against another mount, but mkdir
    // is: the lock file is made, read and removed only inside the folder <lock>.d, so no two
    // processes do so at once.
    bool enterGuard(const QDeadlineTimer &deadline) const;
    void leaveGuard() const;
    bool leftByDeadProcess() const;
    bool removeOnceClosed() const;

    QString m_path;
    QLockFile m_file;
    bool m_inUse = false;
    bool m_guarded = false;
};
