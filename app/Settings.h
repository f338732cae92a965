// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Window placement and the database folder, kept in the settings file beside the program, over
// the defaults that the computer gives every user (see SettingsLayers).
class Settings
{
public:
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 560;

    int top = 0;
    int left = 0;
    int width = kMinWidth;
    int height = kMinHeight;
    QString dbPath;
    // False when the file names no database folder and dbPath is the default one.
    bool dbPathStored = false;
    // Patients' names kept off the screen; written the moment it is switched.
    bool hideNames = false;
    // The file is there but cannot be read; it is never written over.
    bool damaged = false;
    // The computer's defaults for every user that are there but cannot be read.
    QStringList damagedSiteFiles;

    // Missing or unreadable values take their defaults; an empty folder means the default one.
    static Settings load(const QString &path);
    // Writes Top, Left, Width, Height and DBPath; false when the file cannot be written.
    bool save(const QString &path) const;
    static bool saveHideNames(const QString &path, bool hide);

    // [Backup], read and written apart from the values above, so that neither save drops the
    // other.
    struct Backup
    {
        // Of the last verified backup; invalid when none was made.
        QDateTime last;
        QString folder;
        // 0 (or less) turns the reminder off.
        int remindDays = 7;

        bool reminderDue(const QDateTime &now) const;
    };
    static Backup loadBackup(const QString &path);
    // Writes Last and Folder; RemindDays stays as the administrator set it.
    static bool saveBackup(const QString &path, const Backup &backup);
};
