#pragma once

#include <QString>

// Names of the files that live beside the program file and of the default folders.
class ProgramFiles
{
public:
    // The program file's path with its extension replaced (or added, where it has none).
    static QString withExtension(const QString &programPath, const QString &extension);
    static QString settingsPath(const QString &programPath);
    static QString cataloguePath(const QString &programPath);
    static QString defaultDatabasePath();
    // Folder paths always end with a separator; file names are appended directly.
    static QString archivePath(const QString &databasePath);
    static QChar separator();
};
