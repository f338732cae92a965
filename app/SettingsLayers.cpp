// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsLayers.h"

#include <QDir>

SettingsLayers::SettingsLayers(const QString &userPath)
{
    m_layers.append(ProfileFile(userPath, ProfileFile::OwnSettings));
    for (const QString &path : sitePaths())
        m_layers.append(ProfileFile(path, ProfileFile::OwnSettings));
}

QStringList SettingsLayers::sitePaths()
{
    QString folders = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (folders.isEmpty())
        folders = QStringLiteral("/etc/xdg");
    QStringList paths;
    for (const QString &folder : folders.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        // Relative entries are not allowed there; they would depend on the working folder.
        if (QDir::isAbsolutePath(folder))
            paths.append(QDir::cleanPath(folder) + QStringLiteral("/Kelvaro/tavimer.ini"));
    }
    return paths;
}

std::optional<QString> SettingsLayers::value(const QString &section, const QString &key) const
{
    for (const ProfileFile &layer : m_layers) {
        const std::optional<QString> found = layer.value(section, key);
        if (found && !found->trimmed().isEmpty())
            return found;
    }
    return std::nullopt;
}

QString SettingsLayers::readString(const QString &section, const QString &key,
                                   const QString &fallback) const
{
    return value(section, key).value_or(fallback);
}

int SettingsLayers::readInteger(const QString &section, const QString &key, int fallback) const
{
    for (const ProfileFile &layer : m_layers) {
        if (const std::optional<QString> found = layer.value(section, key)) {
            if (const std::optional<int> number = ProfileFile::parseInteger(found->trimmed()))
                return *number;
        }
    }
    return fallback;
}

bool SettingsLayers::isUsers(const QString &section, const QString &key) const
{
    const std::optional<QString> found = user().value(section, key);
    return found && !found->trimmed().isEmpty();
}

QStringList SettingsLayers::damagedPaths() const
{
    QStringList paths;
    for (const ProfileFile &layer : m_layers) {
        if (layer.status() == BoundedFile::Damaged)
            paths.append(layer.path());
    }
    return paths;
}
