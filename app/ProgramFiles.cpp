#include "app/ProgramFiles.h"

#include <QDir>
#include <QStandardPaths>

QString ProgramFiles::withExtension(const QString &programPath, const QString &extension)
{
    const int slash = std::max(programPath.lastIndexOf(QLatin1Char('/')),
                               programPath.lastIndexOf(QLatin1Char('\\')));
    const int dot = programPath.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? programPath.left(dot) : programPath;
    return stem + extension;
}

QString ProgramFiles::settingsPath(const QString &programPath)
{
    return withExtension(programPath, QStringLiteral(".ini"));
}

QString ProgramFiles::cataloguePath(const QString &programPath)
{
    return withExtension(programPath, QStringLiteral(".dat"));
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

QString ProgramFiles::archivePath(const QString &databasePath)
{
    return databasePath + QStringLiteral("arc") + separator();
}
