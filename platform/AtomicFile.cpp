// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileError.h"
#include "platform/MountKind.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Unbuffered, piece by piece: a full disk takes part of a write and refuses the rest, and only
// the write that is refused carries the system's reason. Qt's buffer would count the part as
// the whole and put a cut file in the old one's place.
bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool &inPlaceEverywhere()
{
    static bool everywhere = false;
    return everywhere;
}

bool pwriteAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool failed(const QString &path, int error)
{
    FileError::note(path, QString::fromLocal8Bit(std::strerror(error)));
    return false;
}

// The file is never missing, empty or cut short for a reader that comes between: the new
// bytes go over the old ones and only then is the file cut to their length. A write that
// fails halfway puts the old bytes back, which fit in the room they had.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QByteArray old;
    QString reason;
    const BoundedFile::Status status =
        BoundedFile::read(path, bytes.size() + BoundedFile::kTextLimit, old, &reason);
    if (status == BoundedFile::Damaged) {
        FileError::note(path, reason);
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    // Open for reading too: smbnetfs cuts a file only through such a descriptor (EIO otherwise).
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return failed(path, errno);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(path, EINVAL);
    }
    bool written = pwriteAll(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0;
    // A file system without a sync of its own (ENOSYS, EINVAL) has passed the bytes on already.
    written = written && (::fsync(fd) == 0 || errno == ENOSYS || errno == EINVAL);
    const int error = errno;
    // Best effort: the failure is reported whether the old bytes went back or not.
    if (!written && status == BoundedFile::Read)
        (void)(pwriteAll(fd, old) && ::ftruncate(fd, off_t(old.size())) == 0);
    const bool closed = ::close(fd) == 0;
    if (!written && status == BoundedFile::Missing)
        ::unlink(name.constData());
    if (!written)
        return failed(path, error);
    return closed || failed(path, errno);
}

} // namespace

void AtomicFile::setInPlaceEverywhere(bool inPlace)
{
    inPlaceEverywhere() = inPlace;
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, Mode mode)
{
    if (inPlaceEverywhere() || !MountKind::traitsAt(path).atomicReplace)
        return writeInPlace(path, bytes);
    QSaveFile file(path);
    file.setDirectWriteFallback(mode == InPlaceFallback);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(file, bytes) &&
        file.commit())
        return true;
    // Taken before the cancel, which has a reason of its own.
    FileError::note(path, file.errorString());
    file.cancelWriting();
    return false;
}

bool AtomicFile::replace(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(from.toStdU16String(), to.toStdU16String(), error);
    if (error)
        FileError::note(to, QString::fromStdString(error.message()));
    return !error;
}
