// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileMove.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Primitives
{
    bool renameFlag = true;
    bool hardLinks = true;
};

Primitives &primitives()
{
    static Primitives usable;
    return usable;
}

struct Failure
{
    QString *reason;
    int *error;
};

bool fail(int error, const Failure &out)
{
    if (out.reason)
        *out.reason = QString::fromLocal8Bit(std::strerror(error));
    if (out.error)
        *out.error = error;
    return false;
}

// Errors by which a folder says it does not know the call, rather than that it refused it.
bool unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

// SMB through libsmbclient has neither, and its rename replaces. The name is claimed by an
// exclusive create, which a share honours: the rename then replaces nothing but that claim.
bool placeholderThenRename(const char *from, const char *to, const Failure &failure)
{
    const int fd = ::open(to, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(errno, failure);
    ::close(fd);
    if (::rename(from, to) == 0)
        return true;
    const int error = errno;
    ::unlink(to);
    return fail(error, failure);
}

// sshfs, for one, knows no rename flags but makes hard links.
bool linkThenUnlink(const char *from, const char *to, const Failure &failure)
{
    struct stat info;
    if (::lstat(from, &info) != 0)
        return fail(errno, failure);
    // A folder has no hard link; renaming one never replaces a folder that holds anything.
    if (S_ISDIR(info.st_mode)) {
        struct stat target;
        if (::lstat(to, &target) == 0)
            return fail(EEXIST, failure);
        return ::rename(from, to) == 0 || fail(errno, failure);
    }
    if (!primitives().hardLinks)
        return placeholderThenRename(from, to, failure);
    if (::link(from, to) != 0)
        return errno == EPERM || unsupported(errno) ? placeholderThenRename(from, to, failure)
                                                    : fail(errno, failure);
    if (::unlink(from) == 0)
        return true;
    const int error = errno;
    ::unlink(to);
    return fail(error, failure);
}

} // namespace

bool FileMove::withoutReplacing(const QString &from, const QString &to, QString *reason, int *error)
{
    const Failure failure{reason, error};
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (primitives().renameFlag) {
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                        RENAME_NOREPLACE) == 0)
            return true;
        if (!unsupported(errno))
            return fail(errno, failure);
    }
    return linkThenUnlink(source.constData(), target.constData(), failure);
}

void FileMove::setPrimitives(bool renameFlag, bool hardLinks)
{
    primitives() = {renameFlag, hardLinks};
}
