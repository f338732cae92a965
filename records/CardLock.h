#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

// A short lock on one card for every workstation that shares the database folder: the
// file <id>.lck beside the card, created only if absent, holding host name, process id
// and time. A lock older than kStaleAfterMs was left by a crash and is taken over.
class CardLock
{
public:
    struct Clock
    {
        std::function<QDateTime()> now;
        std::function<void(int ms)> sleep;
    };

    static constexpr qint64 kStaleAfterMs = 30000;
    static constexpr qint64 kWaitMs = 5000;
    static constexpr int kRetryMs = 20;

    static Clock systemClock();
    static QString pathFor(const QString &cardBase);

    explicit CardLock(QString path, Clock clock = systemClock());
    ~CardLock();
    CardLock(const CardLock &) = delete;
    CardLock &operator=(const CardLock &) = delete;

    const QString &path() const { return m_path; }
    // Tries until the lock is held or `waitMs` has passed on the clock.
    bool acquire(qint64 waitMs = kWaitMs);
    bool isHeld() const { return m_held; }
    // After a failed acquire: another holder kept it (rather than the folder refusing the file).
    bool inUse() const { return m_inUse; }
    // Removes the file only while it is still this holder's.
    void release();

private:
    enum class Attempt
    {
        Held,
        Busy,
        Failed
    };

    Attempt attempt();
    bool createIfAbsent();
    bool isStale(const QByteArray &content) const;
    bool takeOver(const QByteArray &stale);

    QString m_path;
    Clock m_clock;
    QByteArray m_content;
    bool m_held = false;
    bool m_inUse = false;
};
