// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/SystemPorts.h"

#include "measure/TComPort.h"

#include <QFileInfo>
#include <QSet>

SystemPorts::SystemPorts(QString settingsPath) : m_settings(std::move(settingsPath)) {}

QStringList SystemPorts::operator()()
{
    // A new device node changes the folder's time: one stat instead of a walk of the tree.
    const QDateTime devicesChanged = QFileInfo(QStringLiteral("/dev")).lastModified();
    if (!m_age.isValid() || m_age.hasExpired(kEnumerationAgeMs) ||
        devicesChanged != m_devicesChanged) {
        TComPort::EnumComPorts(m_enumerated);
        m_age.start();
        m_devicesChanged = devicesChanged;
    }
    return merged(m_enumerated, configured(m_settings));
}

QStringList SystemPorts::configured(const QString &settingsPath)
{
    return configured(SettingsLayers(settingsPath));
}

QStringList SystemPorts::configured(const SettingsLayers &settings)
{
    const QString value = settings.readString(QStringLiteral("Device"), QStringLiteral("Ports"));
    QStringList ports;
    for (const QString &entry : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString path = entry.trimmed();
        if (!path.isEmpty())
            ports.append(path);
    }
    return ports;
}

namespace {

QString deviceFile(const QString &portName)
{
    const QString path = TComPort::DevicePath(portName);
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

} // namespace

QStringList SystemPorts::merged(const QStringList &enumerated, const QStringList &configured)
{
    QStringList ports;
    QSet<QString> files;
    for (const QString &name : enumerated + configured) {
        const QString file = deviceFile(name);
        if (files.contains(file))
            continue;
        files.insert(file);
        ports.append(name);
    }
    TComPort::SortPortNames(ports);
    return ports;
}
