// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BoundedFile.h"

#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kChunk = 64 * 1024;

#ifdef Q_OS_UNIX
// Not even opened when it is no regular file: opening a device can have effects of its own.
// The second look at the open file closes the gap in which it could have been replaced.
std::unique_ptr<QFile> openRegular(const QString &path, BoundedFile::Status &status)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        status = errno == ENOENT || errno == ENOTDIR ? BoundedFile::Missing : BoundedFile::Damaged;
        return nullptr;
    }
    status = BoundedFile::Damaged;
    if (!S_ISREG(info.st_mode))
        return nullptr;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    status = BoundedFile::Read;
    return file;
}
#else
std::unique_ptr<QFile> openRegular(const QString &path, BoundedFile::Status &status)
{
    const QFileInfo info(path);
    status = !info.exists() ? BoundedFile::Missing : BoundedFile::Damaged;
    auto file = std::make_unique<QFile>(path);
    if (!info.isFile() || !file->open(QIODevice::ReadOnly))
        return nullptr;
    status = BoundedFile::Read;
    return file;
}
#endif

} // namespace

std::unique_ptr<QFile> BoundedFile::open(const QString &path, Status *status)
{
    Status result = Missing;
    std::unique_ptr<QFile> file = openRegular(path, result);
    if (status)
        *status = result;
    return file;
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

BoundedFile::Status BoundedFile::read(const QString &path, qint64 limit, QByteArray &bytes)
{
    bytes.clear();
    Status status = Missing;
    const std::unique_ptr<QFile> file = open(path, &status);
    if (!file)
        return status;
    if (file->size() > limit || !readUpTo(*file, limit, bytes) || bytes.size() > limit) {
        bytes.clear();
        return Damaged;
    }
    return Read;
}
