#include "records/CardLock.h"

#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.readAll();
    // An empty but present file is told apart from a missing one.
    return bytes.isNull() ? QByteArray("") : bytes;
}

} // namespace

CardLock::Clock CardLock::systemClock()
{
    return {[] { return QDateTime::currentDateTimeUtc(); },
            [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }};
}

QString CardLock::pathFor(const QString &cardBase)
{
    return cardBase + QStringLiteral(".lck");
}

CardLock::CardLock(QString path, Clock clock) : m_path(std::move(path)), m_clock(std::move(clock))
{
}

CardLock::~CardLock()
{
    release();
}

bool CardLock::acquire(qint64 waitMs)
{
    m_inUse = false;
    const QDateTime start = m_clock.now();
    for (;;) {
        switch (attempt()) {
        case Attempt::Held:
            return true;
        case Attempt::Failed:
            return false;
        case Attempt::Busy:
            break;
        }
        if (start.msecsTo(m_clock.now()) >= waitMs) {
            m_inUse = true;
            return false;
        }
        m_clock.sleep(kRetryMs);
    }
}

CardLock::Attempt CardLock::attempt()
{
    if (m_held || createIfAbsent())
        return Attempt::Held;
    const QByteArray seen = readAll(m_path);
    if (seen.isNull()) {
        // Gone between the two steps, or the folder takes no new file at all.
        return createIfAbsent()            ? Attempt::Held
               : QFileInfo::exists(m_path) ? Attempt::Busy
                                           : Attempt::Failed;
    }
    if (isStale(seen) && takeOver(seen) && createIfAbsent())
        return Attempt::Held;
    return Attempt::Busy;
}

bool CardLock::createIfAbsent()
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QString text = QSysInfo::machineHostName() + QStringLiteral("\r\n") +
                         QString::number(QCoreApplication::applicationPid()) +
                         QStringLiteral("\r\n") +
                         m_clock.now().toUTC().toString(Qt::ISODateWithMs) + QStringLiteral("\r\n");
    m_content = text.toUtf8();
    file.write(m_content);
    file.close();
    m_held = true;
    return true;
}

bool CardLock::isStale(const QByteArray &content) const
{
    const QList<QByteArray> lines = content.split('\n');
    QDateTime taken;
    if (lines.size() >= 3)
        taken = QDateTime::fromString(QString::fromUtf8(lines[2].trimmed()), Qt::ISODateWithMs);
    // A holder that has created the file but not yet written it is as old as the file.
    if (!taken.isValid())
        taken = QFileInfo(m_path).lastModified();
    return taken.isValid() && taken.msecsTo(m_clock.now()) > kStaleAfterMs;
}

bool CardLock::takeOver(const QByteArray &stale)
{
    // Moved aside first, so that of two workstations taking over the same stale lock
    // only one removes it, and a fresh lock taken by mistake goes back in place.
    const QString aside = m_path.chopped(4) + QStringLiteral(".~lck");
    if (!AtomicFile::replace(m_path, aside))
        return false;
    if (readAll(aside) == stale) {
        QFile::remove(aside);
        return true;
    }
    if (!QFile::rename(aside, m_path))
        QFile::remove(aside);
    return false;
}

void CardLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (readAll(m_path) == m_content)
        QFile::remove(m_path);
}
