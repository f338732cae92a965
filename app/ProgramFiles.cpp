// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFiles::withExtension(const QString &programPath, const QString &extension)
{
    const int slash = std::max(programPath.lastIndexOf(QLatin1Char('/')),
                               programPath.lastIndexOf(QLatin1Char('\\')));
    const int dot = programPath.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? programPath.left(dot) : programPath;
    return stem + extension;
}

QString ProgramFiles::fileName(const QString &programPath, const QString &extension)
{
    return QFileInfo(withExtension(programPath, extension)).fileName();
}

// An installed package keeps its data in share/tavimer/ beside the folder of the program.
QString ProgramFiles::installedDataPath(const QString &programPath, const QString &extension)
{
    const QDir programDir = QFileInfo(programPath).absoluteDir();
    return QDir::cleanPath(programDir.filePath(QStringLiteral(TAVIMER_DATA_FROM_BIN "/") +
                                               fileName(programPath, extension)));
}

QString ProgramFiles::settingsPath(const QString &programPath)
{
    const QString beside = withExtension(programPath, QStringLiteral(".ini"));
    if (QFileInfo::exists(beside))
        return beside;
    const QString besideCatalogue = withExtension(programPath, QStringLiteral(".dat"));
    const bool installed =
        !QFileInfo::exists(besideCatalogue) &&
        QFileInfo::exists(installedDataPath(programPath, QStringLiteral(".dat")));
    // Root may write into the system's program folder, but every user would then share it.
    if (!installed && QFileInfo(QFileInfo(programPath).absolutePath()).isWritable())
        return beside;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kelvaro/") + fileName(programPath, QStringLiteral(".ini"));
}

QString ProgramFiles::cataloguePath(const QString &programPath)
{
    const QString beside = withExtension(programPath, QStringLiteral(".dat"));
    const QString installed = installedDataPath(programPath, QStringLiteral(".dat"));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

QChar ProgramFiles::separator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

QString ProgramFiles::defaultDatabasePath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\Program files\\Kelvaro\\Tavimer\\Database\\");
#else
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/Kelvaro/Tavimer/Database/");
#endif
}

bool ProgramFiles::createDatabase(const QString &databasePath)
{
    // Patients' records: a folder the program makes itself is its owner's alone, from the
    // moment it exists.
    const QString folder = QDir::cleanPath(databasePath);
    if (!QFileInfo::exists(folder) &&
        !(QDir().mkpath(QFileInfo(folder).absolutePath()) &&
          QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)))
        return false;
    return QDir().mkpath(archivePath(databasePath));
}

QString ProgramFiles::archivePath(const QString &databasePath)
{
    return databasePath + QStringLiteral("arc") + separator();
}
