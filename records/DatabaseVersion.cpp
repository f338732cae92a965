// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DatabaseVersion.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileError.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QVersionNumber>

namespace {
// A version line; anything longer is no file of ours.
constexpr qint64 kLimit = 256;
} // namespace

namespace {
BoundedFile::Status read(const QString &path, QString &version)
{
    QByteArray bytes;
    const BoundedFile::Status status = BoundedFile::read(path, kLimit, bytes);
    const QString text = QString::fromLatin1(bytes).trimmed();
    version = status == BoundedFile::Read && !QVersionNumber::fromString(text).isNull() ? text
                                                                                        : QString();
    return status;
}
} // namespace

QString DatabaseVersion::update(const QString &dbPath, const QString &mine, QString *failure)
{
    const QVersionNumber own = QVersionNumber::fromString(mine);
    if (own.isNull())
        return QString();
    QString stored;
    // A special file of that name is left alone, and said so.
    if (read(dbPath + fileName(), stored) == BoundedFile::Damaged) {
        if (failure)
            *failure = dbPath + fileName() + QStringLiteral(": not a small regular file");
        return QString();
    }
    const int order = QVersionNumber::compare(QVersionNumber::fromString(stored), own);
    if (!stored.isEmpty() && order > 0)
        return stored;
    if (!stored.isEmpty() && order == 0)
        return QString();
    FileError::clear();
    if (!QDir(dbPath).exists() || !AtomicFile::write(dbPath + fileName(), mine.toLatin1() + "\n")) {
        if (failure)
            *failure = FileError::last().isEmpty() ? dbPath : FileError::last();
    }
    return QString();
}

bool DatabaseVersion::tellOnce(const QString &settingsPath, const QString &newer)
{
    ProfileFile settings(settingsPath, ProfileFile::OwnSettings);
    if (settings.readString(QStringLiteral("Database"), QStringLiteral("NewerVersionTold")) ==
        newer)
        return false;
    // Told even where the settings cannot keep it; then again at the next start.
    settings.writeString(QStringLiteral("Database"), QStringLiteral("NewerVersionTold"), newer);
    return true;
}
