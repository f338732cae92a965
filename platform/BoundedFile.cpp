// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BoundedFile.h"

#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kChunk = 64 * 1024;

#ifdef Q_OS_UNIX
QString osWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return osWords(EISDIR);
    if (S_ISFIFO(mode))
        return QStringLiteral("no regular file: FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("no regular file: device");
    if (S_ISSOCK(mode))
        return QStringLiteral("no regular file: socket");
    return QStringLiteral("no regular file");
}

// A FUSE mount (sshfs, smbnetfs) may keep a file's size from before another workstation
// wrote it (0 for a card just claimed), and every read ends there. The size is asked of
// the server once the file is open, and the reads go past the page cache.
void readPastCachedSize(int fd)
{
    constexpr decltype(statfs::f_type) kFuseMagic = 0x65735546;
    struct statfs folder;
    if (::fstatfs(fd, &folder) != 0 || folder.f_type != kFuseMagic)
        return;
    struct statx fresh;
    ::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_SIZE, &fresh);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_DIRECT);
}

// Not even opened when it is no regular file: opening a device can have effects of its own.
// The second look at the open file closes the gap in which it could have been replaced.
std::unique_ptr<QFile> openRegular(const QString &path, BoundedFile::Status &status,
                                   QString &reason)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        status = errno == ENOENT || errno == ENOTDIR ? BoundedFile::Missing : BoundedFile::Damaged;
        reason = osWords(errno);
        return nullptr;
    }
    status = BoundedFile::Damaged;
    if (!S_ISREG(info.st_mode)) {
        reason = kindOf(info.st_mode);
        return nullptr;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A folder that keeps names for a while may list a file that is gone.
        if (errno == ENOENT)
            status = BoundedFile::Missing;
        reason = osWords(errno);
        return nullptr;
    }
    readPastCachedSize(fd);
    auto file = std::make_unique<QFile>(path);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        reason = kindOf(info.st_mode);
        ::close(fd);
        return nullptr;
    }
    status = BoundedFile::Read;
    return file;
}
#else
std::unique_ptr<QFile> openRegular(const QString &path, BoundedFile::Status &status,
                                   QString &reason)
{
    const QFileInfo info(path);
    status = !info.exists() ? BoundedFile::Missing : BoundedFile::Damaged;
    auto file = std::make_unique<QFile>(path);
    if (!info.isFile() || !file->open(QIODevice::ReadOnly)) {
        reason = info.isFile() ? file->errorString() : QStringLiteral("no regular file");
        return nullptr;
    }
    status = BoundedFile::Read;
    return file;
}
#endif

} // namespace

std::unique_ptr<QFile> BoundedFile::open(const QString &path, Status *status, QString *reason)
{
    Status result = Missing;
    QString words;
    std::unique_ptr<QFile> file = openRegular(path, result, words);
    if (status)
        *status = result;
    if (reason)
        *reason = words;
    return file;
}

QString BoundedFile::beyondBound(qint64 limit)
{
    return QStringLiteral("larger than %1 bytes").arg(limit);
}

bool BoundedFile::readUpTo(QIODevice &device, qint64 limit, QByteArray &bytes)
{
    bytes.clear();
    const qint64 wanted = limit + 1;
    // The size a file claims is only a hint: it may grow, or be 0 for a generated file.
    bytes.reserve(std::clamp<qint64>(device.size(), 0, wanted));
    while (bytes.size() < wanted) {
        const qint64 before = bytes.size();
        const qint64 chunk = std::min(kChunk, wanted - before);
        bytes.resize(before + chunk);
        const qint64 got = device.read(bytes.data() + before, chunk);
        if (got < 0) {
            bytes.clear();
            return false;
        }
        bytes.resize(before + got);
        if (got == 0)
            break;
    }
    return true;
}

BoundedFile::Status BoundedFile::read(const QString &path, qint64 limit, QByteArray &bytes,
                                      QString *reason)
{
    bytes.clear();
    Status status = Missing;
    const std::unique_ptr<QFile> file = open(path, &status, reason);
    if (!file)
        return status;
    const bool readable = file->size() <= limit && readUpTo(*file, limit, bytes);
    if (!readable || bytes.size() > limit) {
        const bool tooLong = file->size() > limit || bytes.size() > limit;
        if (reason)
            *reason = tooLong ? beyondBound(limit) : file->errorString();
        bytes.clear();
        return Damaged;
    }
    return Read;
}
