// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"
#include "platform/FileError.h"

#include <QSaveFile>
#include <filesystem>
#include <system_error>

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

} // namespace

bool AtomicFile::write(const QString &path, const QByteArray &bytes, Mode mode)
{
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
