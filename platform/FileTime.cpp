// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileTime.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

bool FileTime::setModified(const QString &path, const QDateTime &time)
{
#ifdef Q_OS_UNIX
    const qint64 ms = time.toMSecsSinceEpoch();
    const timespec times[2] = {{0, UTIME_OMIT},
                               {time_t(ms / 1000), long((ms % 1000 + 1000) % 1000) * 1000000L}};
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
#else
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
#endif
}
