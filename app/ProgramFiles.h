// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Names of the files that live beside the program file and of the default folders.
class ProgramFiles
{
public:
    // The program file's path with its extension replaced (or added, where it has none).
    static QString withExtension(const QString &programPath, const QString &extension);
    // Beside the program for a portable installation: a folder the user may write to, or one
    // that already holds the file. Otherwise, and always for an installed package, in the
    // user's configuration folder.
    static QString settingsPath(const QString &programPath);
    // Beside the program when it is there, else the one an installed package brings.
    static QString cataloguePath(const QString &programPath);
    static QString defaultDatabasePath();
    // Creates the database folder, readable by its owner only, with its archive folder;
    // false when it cannot. A folder that exists keeps its permissions.
    static bool createDatabase(const QString &databasePath);
    // Folder paths always end with a separator; file names are appended directly.
    static QString archivePath(const QString &databasePath);
    static QChar separator();
    // The program's name with the extension, in share/tavimer/ of an installation.
    static QString installedDataPath(const QString &programPath, const QString &extension);

private:
    static QString fileName(const QString &programPath, const QString &extension);
};
