#include "app/Settings.h"

#include "app/ProgramFiles.h"
#include "platform/ProfileFile.h"

#include <algorithm>

Settings Settings::load(const QString &path)
{
    const ProfileFile file(path);
    Settings settings;
    settings.top = file.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), 0);
    settings.left = file.readInteger(QStringLiteral("Main"), QStringLiteral("Left"), 0);
    settings.width = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Width"), kMinWidth), kMinWidth);
    settings.height = std::max(
        file.readInteger(QStringLiteral("Main"), QStringLiteral("Height"), kMinHeight), kMinHeight);
    settings.dbPath = file.readString(QStringLiteral("Database"), QStringLiteral("DBPath"));
    if (settings.dbPath.isEmpty())
        settings.dbPath = ProgramFiles::defaultDatabasePath();
    return settings;
}

bool Settings::save(const QString &path) const
{
    ProfileFile file(path);
    return file.write({{QStringLiteral("Main"), QStringLiteral("Top"), QString::number(top)},
                       {QStringLiteral("Main"), QStringLiteral("Left"), QString::number(left)},
                       {QStringLiteral("Main"), QStringLiteral("Width"), QString::number(width)},
                       {QStringLiteral("Main"), QStringLiteral("Height"), QString::number(height)},
                       {QStringLiteral("Database"), QStringLiteral("DBPath"), dbPath}});
}
