// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProfileFile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a setting reads as: the user's own file first, then the defaults that an administrator
// gives every user of the computer in Kelvaro/tavimer.ini of the system's configuration folders
// ($XDG_CONFIG_DIRS, /etc/xdg when unset), the first folder first. An empty value counts as
// absent. Only the user's file is ever written.
class SettingsLayers
{
public:
    explicit SettingsLayers(const QString &userPath);

    static QStringList sitePaths();

    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key,
                       const QString &fallback = QString()) const;
    int readInteger(const QString &section, const QString &key, int fallback) const;
    // Whether the user's own file gives the value (not a default of the computer).
    bool isUsers(const QString &section, const QString &key) const;

    const ProfileFile &user() const { return m_layers.front(); }
    // The files that are there but cannot be read, the user's first.
    QStringList damagedPaths() const;

private:
    QList<ProfileFile> m_layers;
};
