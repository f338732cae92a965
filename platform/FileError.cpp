// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <cstdlib>
#include <unistd.h>
#endif

namespace {
thread_local QString lastFailure;
} // namespace

void FileError::clear()
{
    lastFailure.clear();
}

void FileError::note(const QString &path, const QString &reason)
{
    lastFailure = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
                  QStringLiteral(": ") + reason;
}

void FileError::noteFolderOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray native = QFile::encodeName(folder);
    // access() answers "Permission denied" for a plain file standing where the folder should be.
    if (const QFileInfo info(folder); info.exists() && !info.isDir()) {
        note(folder, qt_error_string(ENOTDIR));
        return;
    }
    if (::access(native.constData(), W_OK | X_OK) != 0) {
        note(folder, qt_error_string(errno));
        return;
    }
    // The folder lets us in, so the file itself was refused: a full disk or a quota says so
    // only to a write, which a file of our own, gone at once, asks for.
    QByteArray probe = native + "/.tavimer-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        note(path, qt_error_string(errno));
        return;
    }
    const QByteArray block(4096, '\0');
    qint64 done = 0;
    // A partial write carries no reason; the next one does.
    while (done < block.size()) {
        const ssize_t step = ::write(fd, block.constData() + done, size_t(block.size() - done));
        if (step <= 0)
            break;
        done += step;
    }
    const bool written = done == block.size() && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    ::unlink(probe.constData());
    if (!written) {
        note(path, qt_error_string(error));
        return;
    }
#endif
    note(path, QStringLiteral("refused by the folder"));
}

QString FileError::last()
{
    return lastFailure;
}

QString FileError::explain(const QString &path, bool writing)
{
    const QString saved = lastFailure;
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    lastFailure.clear();
    if (!writing && ::access(native.constData(), R_OK) != 0)
        note(path, qt_error_string(errno));
    else if (writing && QFileInfo::exists(path) && ::access(native.constData(), W_OK) != 0)
        note(path, qt_error_string(errno));
    else if (writing && !QFileInfo::exists(path)) {
        // What is in the way of making it: the nearest part of the path that exists.
        QFileInfo existing(QFileInfo(path).absoluteFilePath());
        while (!existing.exists() && !existing.isRoot())
            existing = QFileInfo(existing.absolutePath());
        if (!existing.isDir())
            note(existing.absoluteFilePath(), qt_error_string(ENOTDIR));
        else
            noteFolderOf(existing.absoluteFilePath() + QStringLiteral("/-"));
    }
#endif
    const QString reason =
        lastFailure.endsWith(QLatin1String(": refused by the folder")) ? QString() : lastFailure;
    lastFailure = saved;
    return reason;
}
