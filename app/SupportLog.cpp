// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SupportLog.h"

#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {

struct State
{
    QMutex mutex;
    QString path;
    qint64 maxBytes = SupportLog::kMaxBytes;
    // The reason is told once: a log that cannot be written must not drown the terminal.
    bool warned = false;
};

State &state()
{
    static State instance;
    return instance;
}

void rotate(const QString &path)
{
    QFile::remove(path + QStringLiteral(".%1").arg(SupportLog::kKept));
    for (int n = SupportLog::kKept - 1; n >= 1; --n) {
        const QString older = path + QStringLiteral(".%1").arg(n);
        if (QFileInfo::exists(older))
            AtomicFile::replace(older, path + QStringLiteral(".%1").arg(n + 1));
    }
    AtomicFile::replace(path, path + QStringLiteral(".1"));
}

} // namespace

QString SupportLog::defaultPath()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (stateHome.isEmpty() || !QDir::isAbsolutePath(stateHome))
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return stateHome + QStringLiteral("/Kelvaro/Tavimer/tavimer.log");
}

void SupportLog::start(const QString &path, qint64 maxBytes)
{
    State &log = state();
    const QMutexLocker locker(&log.mutex);
    log.path = path;
    log.maxBytes = maxBytes;
    log.warned = false;
}

void SupportLog::stop()
{
    start(QString());
}

QString SupportLog::path()
{
    State &log = state();
    const QMutexLocker locker(&log.mutex);
    return log.path;
}

void SupportLog::write(const QString &event)
{
    State &log = state();
    const QMutexLocker locker(&log.mutex);
    if (log.path.isEmpty())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray line =
        (now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs) +
         QStringLiteral(" [%1] ").arg(QCoreApplication::applicationPid()) +
         QString(event).replace(QLatin1Char('\r'), QLatin1Char(' ')) + QLatin1Char('\n'))
            .toUtf8();
    const QFileInfo info(log.path);
    // Support data of a practice: readable by the user alone, like the records.
    if (!info.absoluteDir().exists() && QDir().mkpath(info.absolutePath()))
        QFile::setPermissions(info.absolutePath(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (info.exists() && info.size() + line.size() > log.maxBytes)
        rotate(log.path);
    QFile file(log.path);
    if (file.open(QIODevice::Append | QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner) &&
        file.write(line) == line.size() && file.flush())
        return;
    if (!log.warned)
        qWarning("Cannot write the support log %s: %s", qUtf8Printable(log.path),
                 qUtf8Printable(file.errorString()));
    log.warned = true;
}
