// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include "app/ProgramFiles.h"
#include "app/SettingsLayers.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString withSeparator(QString folder)
{
#ifndef Q_OS_WIN
    // A Windows path's closing backslash is a letter of the name here: cards would land beside
    // the folder instead of in it.
    if (folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
#endif
    // File names are appended to the folder directly.
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) &&
        !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

Settings Settings::load(const QString &path)
{
    const SettingsLayers file(path);
    Settings settings;
    settings.top = file.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), 0);
    settings.left = file.readInteger(QStringLiteral("Main"), QStringLiteral("Left"), 0);
    settings.width = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Width"), kMinWidth), kMinWidth);
    settings.height = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Height"), kMinHeight), kMinHeight);
    settings.dbPath =
        withSeparator(file.readString(QStringLiteral("Database"), QStringLiteral("DBPath")));
    settings.dbPathStored = !settings.dbPath.isEmpty();
    settings.damaged = file.user().status() == BoundedFile::Damaged;
    settings.damagedSiteFiles = file.damagedPaths();
    settings.damagedSiteFiles.removeAll(path);
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
    // The computer's folder stays the computer's: a user's file that only repeats it would keep
    // the old folder when the administrator moves it.
    const SettingsLayers layers(path);
    const bool site = !layers.isUsers(QStringLiteral("Database"), QStringLiteral("DBPath")) &&
                      withSeparator(layers.readString(QStringLiteral("Database"),
                                                      QStringLiteral("DBPath"))) == dbPath;
    ProfileFile file(path, ProfileFile::OwnSettings);
    return file.write(
        {{QStringLiteral("Main"), QStringLiteral("Top"), QString::number(top)},
         {QStringLiteral("Main"), QStringLiteral("Left"), QString::number(left)},
         {QStringLiteral("Main"), QStringLiteral("Width"), QString::number(width)},
         {QStringLiteral("Main"), QStringLiteral("Height"), QString::number(height)},
         {QStringLiteral("Database"), QStringLiteral("DBPath"), site ? QString() : dbPath}});
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
    const SettingsLayers file(path);
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
