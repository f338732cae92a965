// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
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
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0) {
        note(folder, qt_error_string(errno));
        return;
    }
#endif
    note(path, QStringLiteral("?"));
}

QString FileError::last()
{
    return lastFailure;
}
