#include "measure/SystemPorts.h"

#include "measure/TComPort.h"
#include "platform/ProfileFile.h"

SystemPorts::SystemPorts(QString settingsPath) : m_settingsPath(std::move(settingsPath)) {}

QStringList SystemPorts::operator()()
{
    if (!m_age.isValid() || m_age.hasExpired(kEnumerationAgeMs)) {
        TComPort::EnumComPorts(m_enumerated);
        m_age.start();
    }
    return merged(m_enumerated, configured(m_settingsPath));
}

QStringList SystemPorts::configured(const QString &settingsPath)
{
    const QString value =
        ProfileFile(settingsPath).readString(QStringLiteral("Device"), QStringLiteral("Ports"));
    QStringList ports;
    for (const QString &entry : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString path = entry.trimmed();
        if (!path.isEmpty())
            ports.append(path);
    }
    return ports;
}

QStringList SystemPorts::merged(const QStringList &enumerated, const QStringList &configured)
{
    QStringList ports = enumerated;
    for (const QString &path : configured) {
        if (!ports.contains(path))
            ports.append(path);
    }
    TComPort::SortPortNames(ports);
    return ports;
}
