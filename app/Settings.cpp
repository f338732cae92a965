// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include "app/ProgramFiles.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

Settings Settings::load(const QString &path)
{
    const ProfileFile file(path, ProfileFile::OwnSettings);
    Settings settings;
    settings.top = file.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), 0);
    settings.left = file.readInteger(QStringLiteral("Main"), QStringLiteral("Left"), 0);
    settings.width = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Width"), kMinWidth), kMinWidth);
    settings.height = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Height"), kMinHeight), kMinHeight);
    settings.dbPath = file.readString(QStringLiteral("Database"), QStringLiteral("DBPath"));
    settings.dbPathStored = !settings.dbPath.isEmpty();
    settings.damaged = file.status() == BoundedFile::Damaged;
    // File names are appended to the folder directly.
#ifndef Q_OS_WIN
    // A Windows path's closing backslash is a letter of the name here: cards would land beside
    // the folder instead of in it.
    if (settings.dbPath.endsWith(QLatin1Char('\\')))
        settings.dbPath.chop(1);
#endif
    if (settings.dbPathStored && !settings.dbPath.endsWith(QLatin1Char('/')) &&
        !settings.dbPath.endsWith(QLatin1Char('\\')))
        settings.dbPath += QLatin1Char('/');
    if (!settings.dbPathStored)
        settings.dbPath = ProgramFiles::defaultDatabasePath();
    settings.hideNames =
        file.readInteger(QStringLiteral("Privacy"), QStringLiteral("HideNames"), 0) != 0;
    return settings;
}

bool Settings::save(const QString &path) const
{
    // A settings file in the user's configuration folder is the first of its folder.
    QDir().mkpath(QFileInfo(path).absolutePath());
    ProfileFile file(path, ProfileFile::OwnSettings);
    return file.write({{QStringLiteral("Main"), QStringLiteral("Top"), QString::number(top)},
                       {QStringLiteral("Main"), QStringLiteral("Left"), QString::number(left)},
                       {QStringLiteral("Main"), QStringLiteral("Width"), QString::number(width)},
                       {QStringLiteral("Main"), QStringLiteral("Height"), QString::number(height)},
                       {QStringLiteral("Database"), QStringLiteral("DBPath"), dbPath}});
}

bool Settings::saveHideNames(const QString &path, bool hide)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ProfileFile file(path, ProfileFile::OwnSettings);
    return file.writeInteger(QStringLiteral("Privacy"), QStringLiteral("HideNames"), hide ? 1 : 0);
}

bool Settings::Backup::reminderDue(const QDateTime &now) const
{
    return remindDays > 0 && (!last.isValid() || last.addDays(remindDays) < now);
}

Settings::Backup Settings::loadBackup(const QString &path)
{
    const ProfileFile file(path, ProfileFile::OwnSettings);
    Backup backup;
    backup.last = QDateTime::fromString(
        file.readString(QStringLiteral("Backup"), QStringLiteral("Last")), Qt::ISODate);
    backup.folder = file.readString(QStringLiteral("Backup"), QStringLiteral("Folder"));
    backup.remindDays =
        file.readInteger(QStringLiteral("Backup"), QStringLiteral("RemindDays"), backup.remindDays);
    return backup;
}

bool Settings::saveBackup(const QString &path, const Backup &backup)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ProfileFile file(path, ProfileFile::OwnSettings);
    return file.write({{QStringLiteral("Backup"), QStringLiteral("Last"),
                        backup.last.toUTC().toString(Qt::ISODate)},
                       {QStringLiteral("Backup"), QStringLiteral("Folder"), backup.folder}});
}
