// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SettingsLayers.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

// The ports the device is looked for on: those the system enumerates, and the device paths
// listed in the settings (the user's file, then the computer's defaults) under [Device] Ports
// (separated by ";") for devices that the enumeration does not show. The settings are looked at
// at every call and parsed again only when a file changed; the enumeration, which walks the whole
// tty tree, only once a minute, or at once when the device folder has changed since, so that a
// newly plugged adapter is in the list when the link moves on.
class SystemPorts
{
public:
    static constexpr int kEnumerationAgeMs = 60000;

    explicit SystemPorts(QString settingsPath);

    QStringList operator()();

    static QStringList configured(const QString &settingsPath);
    static QStringList configured(const SettingsLayers &settings);
    // Both lists together, sorted as text without regard to case, each device file once (after
    // resolving links), under the system's name when the system lists it.
    static QStringList merged(const QStringList &enumerated, const QStringList &configured);

private:
    SettingsLayers m_settings;
    QStringList m_enumerated;
    QElapsedTimer m_age;
    QDateTime m_devicesChanged;
};
