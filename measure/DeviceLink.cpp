// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/DeviceLink.h"

#include "app/SupportLog.h"
#include "measure/EComPort.h"
#include "measure/PortAccess.h"
#include "measure/TComPort.h"

#include <QTimer>
#include <cerrno>

DeviceLink::DeviceLink(MsgText msgText, PortLister ports, QObject *parent)
    : QObject(parent), m_msgText(std::move(msgText)), m_ports(std::move(ports))
{
    ComPort = new TComPort(this);
    ComPort->OnRxChar = [this](TComPort *sender, int count) { ComPortRxChar(sender, count); };
    tmrComSync = new QTimer(this);
    tmrComSync->setInterval(kSyncIntervalMs);
    // Every receipt restarts it; a pause empties the buffer once, idle ticks would find it empty.
    tmrComSync->setSingleShot(true);
    connect(tmrComSync, &QTimer::timeout, this, &DeviceLink::tmrComSyncTimer);
    tmrComErr = new QTimer(this);
    // A coarse timer may fire 5 % late; the device must be declared lost within the second.
    tmrComErr->setTimerType(Qt::PreciseTimer);
    tmrComErr->setInterval(kWatchdogIntervalMs);
    connect(tmrComErr, &QTimer::timeout, this, &DeviceLink::tmrComErrTimer);
    tmrComSync->start();
    tmrComErr->start();
}

void DeviceLink::ComPortRxChar(TComPort *sender, int count)
{
    for (int i = 0; i < count; ++i) {
        char byte = 0;
        if (sender->Read(&byte, 1) == 1 && RxBuffer.size() < kRxBufferLimit)
            RxBuffer.append(byte);
    }
    // The buffer is only emptied by a pause, so a third byte before it spoils the frame.
    if (RxBuffer.size() == 2)
        takeReading();
    tmrComSync->start();
}

void DeviceLink::takeReading()
{
    const int reading = quint8(RxBuffer.at(0)) * 256 + quint8(RxBuffer.at(1));
    m_sinceReading.start();
    showValue(QString::number(reading));
    if (!m_connected)
        SupportLog::write(QStringLiteral("device found on port ") + ComPort->Port());
    m_connected = true;
    showStatus(m_msgText(QStringLiteral("CommOK")));
    tmrComErr->start();
}

void DeviceLink::tmrComSyncTimer()
{
    RxBuffer.clear();
}

void DeviceLink::tmrComErrTimer()
{
    tmrComErr->stop();
    if (m_connected)
        SupportLog::write(QStringLiteral("device lost on port ") + ComPort->Port());
    m_connected = false;
    showStatus(searchText());
    m_sinceReading.invalidate();
    showValue(noValueText());
    try {
        switchToNextPort();
    } catch (const std::exception &) {
        // No port list, or the old port would not close: the search goes on in a second.
    }
    // The hint follows what this very attempt found.
    const QString text = searchText();
    if (text != m_status)
        showStatus(text);
    tmrComErr->start();
}

void DeviceLink::switchToNextPort()
{
    const QStringList ports = m_ports();
    if (ports != m_portsLogged) {
        SupportLog::write(
            QStringLiteral("serial ports found: ") +
            (ports.isEmpty() ? QStringLiteral("none") : ports.join(QStringLiteral(", "))));
        m_portsLogged = ports;
    }
    if (ports.isEmpty()) {
        m_trouble.clear();
        return;
    }
    int pos = 0;
    for (int i = 0; i < ports.size(); ++i) {
        if (ports.at(i) == ComPort->Port()) {
            pos = i;
            ComPort->Close();
        }
    }
    pos = (pos + 1) % ports.size();
    Trouble trouble = Trouble::None;
    try {
        ComPort->SetPort(ports.at(pos));
        ComPort->Open();
        ComPort->ClearBuffer(true, true);
    } catch (const EComPort &error) {
        // A port that is missing, busy or refuses its settings: the next one is tried in a second.
        if (error.WinCode() == EACCES)
            trouble = Trouble::NoAccess;
        else if (error.WinCode() == EBUSY)
            trouble = Trouble::Busy;
        else
            trouble = Trouble::Missing;
    }
    noteTrouble(ports, ports.at(pos), trouble);
}

void DeviceLink::noteTrouble(const QStringList &ports, const QString &port, Trouble trouble)
{
    for (auto it = m_trouble.begin(); it != m_trouble.end();) {
        if (ports.contains(it.key()))
            ++it;
        else
            it = m_trouble.erase(it);
    }
    const auto before = m_trouble.constFind(port);
    if (before == m_trouble.cend() || *before != trouble)
        logTrouble(port, trouble);
    m_trouble.insert(port, trouble);
}

// Each change once: the search tries the same ports every few seconds.
void DeviceLink::logTrouble(const QString &port, Trouble trouble) const
{
    QString event;
    PortAccess::Facts facts;
    switch (trouble) {
    case Trouble::None:
        event = QStringLiteral("port %1 opened");
        break;
    case Trouble::NoAccess:
        event = QStringLiteral("port %1 refused");
        if (m_deviceText && PortAccess::gather(TComPort::DevicePath(port), facts))
            event += QStringLiteral(": ") + PortAccess::hint(facts, m_deviceText);
        break;
    case Trouble::Busy:
        event = QStringLiteral("port %1 in use by another program");
        break;
    case Trouble::Missing:
        event = QStringLiteral("port %1 could not be opened");
        break;
    }
    SupportLog::write(event.arg(port));
}

namespace {
// Catalogue texts may end without a full stop; two sentences on one line need one between.
QString withSentence(const QString &text, const QString &sentence)
{
    const bool ended = text.isEmpty() || QStringLiteral(".!?").contains(text.back());
    return text + (ended ? QStringLiteral(" ") : QStringLiteral(". ")) + sentence;
}
} // namespace

QString DeviceLink::searchText() const
{
    QString text = m_msgText(QStringLiteral("CommErr"));
    if (!m_deviceText)
        return text;
    // The first refused port speaks for the others: they are alike as a rule.
    const QStringList refused = portsWith(Trouble::NoAccess);
    PortAccess::Facts facts;
    if (!refused.isEmpty() && PortAccess::gather(TComPort::DevicePath(refused.front()), facts))
        text = withSentence(text, PortAccess::hint(facts, m_deviceText));
    const QStringList busy = portsWith(Trouble::Busy);
    if (!busy.isEmpty())
        text =
            withSentence(text, m_deviceText(QStringLiteral("PortBusy"))
                                   .replace(QLatin1String("%s"), busy.join(QStringLiteral(", "))));
    return text;
}

QStringList DeviceLink::portsWith(Trouble trouble) const
{
    QStringList ports;
    for (auto it = m_trouble.cbegin(); it != m_trouble.cend(); ++it) {
        if (it.value() == trouble)
            ports.append(it.key());
    }
    ports.sort();
    return ports;
}

void DeviceLink::DisconnectPort()
{
    tmrComErr->stop();
    tmrComSync->stop();
    ComPort->Close();
}

void DeviceLink::showValue(const QString &text)
{
    m_value = text;
    emit valueTextChanged(text);
}

void DeviceLink::showStatus(const QString &text)
{
    m_status = text;
    emit statusTextChanged(text);
}
