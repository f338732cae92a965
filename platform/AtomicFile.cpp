// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"

#include <QSaveFile>
#include <filesystem>
#include <system_error>

bool AtomicFile::write(const QString &path, const QByteArray &bytes, Mode mode)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(mode == InPlaceFallback);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool AtomicFile::replace(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(from.toStdU16String(), to.toStdU16String(), error);
    return !error;
}
