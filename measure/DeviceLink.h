// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QTimer;
class TComPort;

// Listens to the measuring device: cuts the received bytes into two-byte readings that stand
// between pauses, reports the latest reading and the connection state, and moves on to the
// next port when no reading has come for a second.
class DeviceLink : public QObject
{
    Q_OBJECT

public:
    // Texts of the catalogue's "Msg" section, by key.
    using MsgText = std::function<QString(const QString &key)>;
    // The port names to search, sorted; may throw EComPort.
    using PortLister = std::function<QStringList()>;

    static constexpr int kRxBufferLimit = 255;
    static constexpr int kSyncIntervalMs = 100;
    static constexpr int kWatchdogIntervalMs = 1000;
    static QString noValueText() { return QStringLiteral("- - -"); }

    DeviceLink(MsgText msgText, PortLister ports, QObject *parent = nullptr);

    // Texts of the catalogue's "Device" section: the hints that follow CommErr when a port of
    // the search was refused (see PortAccess::hint) or in use by another program ("PortBusy",
    // "%s" for the ports).
    void setDeviceText(MsgText deviceText) { m_deviceText = std::move(deviceText); }

    void ComPortRxChar(TComPort *sender, int count);
    void tmrComSyncTimer();
    void tmrComErrTimer();
    // Closes the port for good: nothing reopens it afterwards.
    void DisconnectPort();

    const QString &valueText() const { return m_value; }
    const QString &statusText() const { return m_status; }
    // How long ago the shown reading's frame arrived; -1 before the first.
    qint64 msSinceReading() const
    {
        return m_sinceReading.isValid() ? m_sinceReading.elapsed() : -1;
    }

    TComPort *ComPort = nullptr;
    QByteArray RxBuffer;
    QTimer *tmrComSync = nullptr;
    QTimer *tmrComErr = nullptr;

signals:
    void valueTextChanged(const QString &text);
    void statusTextChanged(const QString &text);

private:
    enum class Trouble
    {
        None,
        NoAccess,
        Busy,
        // Gone, or it refused its settings.
        Missing,
    };

    void takeReading();
    void switchToNextPort();
    void noteTrouble(const QStringList &ports, const QString &port, Trouble trouble);
    void logTrouble(const QString &port, Trouble trouble) const;
    QString searchText() const;
    QStringList portsWith(Trouble trouble) const;
    void showValue(const QString &text);
    void showStatus(const QString &text);

    MsgText m_msgText;
    MsgText m_deviceText;
    PortLister m_ports;
    // How the last attempt on each listed port ended.
    QHash<QString, Trouble> m_trouble;
    QString m_value = noValueText();
    QString m_status;
    QElapsedTimer m_sinceReading;
    // For the support log: what it last said.
    QStringList m_portsLogged;
    bool m_connected = false;
};
