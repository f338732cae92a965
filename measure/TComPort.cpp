// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/TComPort.h"

#include "measure/EComPort.h"

#include <QFile>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <unistd.h>
#include <utility>

namespace {

constexpr qint32 kBaudRate = 9600;

// Qt keeps the system's error number only in its text, so it is taken from errno right after
// the failing call, or else inferred from Qt's error kind.
int systemErrorOf(QSerialPort::SerialPortError error, int savedErrno)
{
    if (savedErrno != 0)
        return savedErrno;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::UnsupportedOperationError:
        return ENOTTY;
    case QSerialPort::NotOpenError:
        return EBADF;
    default:
        return EIO;
    }
}

// Qt reports a refused device and one locked by another program alike; the device file's own
// permissions tell them apart.
int refusalOf(const QString &portName, int savedErrno)
{
    if (savedErrno == EBUSY)
        return EBUSY;
    const QByteArray device = QFile::encodeName(TComPort::DevicePath(portName));
    return ::access(device.constData(), R_OK | W_OK) != 0 && errno == EACCES ? EACCES : EBUSY;
}

} // namespace

TComPort::TComPort(QObject *parent) : QObject(parent) {}

TComPort::~TComPort()
{
    Close();
}

void TComPort::SetPort(const QString &name)
{
    if (name == m_port)
        return;
    m_port = name;
    if (m_connected) {
        Close();
        Open();
    }
}

void TComPort::SetConnected(bool connected)
{
    if (connected)
        Open();
    else
        Close();
}

void TComPort::Open()
{
    if (m_connected)
        return;
    auto *serial = new QSerialPort(this);
    serial->setPortName(m_port);
    serial->setBaudRate(kBaudRate);
    serial->setDataBits(QSerialPort::Data8);
    serial->setParity(QSerialPort::NoParity);
    serial->setStopBits(QSerialPort::OneStop);
    serial->setFlowControl(QSerialPort::NoFlowControl);
    errno = 0;
    if (!serial->open(QIODevice::ReadWrite)) {
        int savedErrno = errno;
        const QSerialPort::SerialPortError error = serial->error();
        delete serial;
        if (error == QSerialPort::PermissionError)
            savedErrno = refusalOf(m_port, savedErrno);
        throw EComPort(error == QSerialPort::UnsupportedOperationError ? EComPort::CE_SetStateFailed
                                                                       : EComPort::CE_OpenFailed,
                       systemErrorOf(error, savedErrno));
    }
    m_serial = serial;
    m_connected = true;
    m_receiving = true;
    holdControlLinesOff();
    connect(serial, &QSerialPort::readyRead, this, &TComPort::serialReadyRead);
    connect(serial, &QSerialPort::errorOccurred, this, &TComPort::serialError);
}

void TComPort::holdControlLinesOff()
{
    // A pseudo-terminal has no modem lines and refuses; the device never needs them anyway.
    m_serial->setDataTerminalReady(false);
    m_serial->setRequestToSend(false);
    m_serial->clearError();
}

void TComPort::Close()
{
    if (!m_connected)
        return;
    m_connected = false;
    m_receiving = false;
    QSerialPort *serial = std::exchange(m_serial, nullptr);
    serial->disconnect(this);
    if (serial->isOpen())
        serial->close();
    // Close may be reached from inside the port's own notification.
    serial->deleteLater();
}

int TComPort::Read(char *buffer, int count)
{
    if (!m_serial || !m_serial->isOpen())
        throw EComPort(EComPort::CE_ReadFailed, EBADF);
    errno = 0;
    const qint64 read = m_serial->read(buffer, count);
    if (read < 0)
        throw EComPort(EComPort::CE_ReadFailed, systemErrorOf(m_serial->error(), errno));
    return int(read);
}

void TComPort::ClearBuffer(bool input, bool output)
{
    if (!input && !output)
        return;
    if (!m_serial || !m_serial->isOpen())
        throw EComPort(EComPort::CE_PurgeFailed, EBADF);
    QSerialPort::Directions directions;
    if (input)
        directions |= QSerialPort::Input;
    if (output)
        directions |= QSerialPort::Output;
    errno = 0;
    if (!m_serial->clear(directions)) {
        const int savedErrno = errno;
        const QSerialPort::SerialPortError error = m_serial->error();
        m_serial->clearError();
        throw EComPort(EComPort::CE_PurgeFailed, systemErrorOf(error, savedErrno));
    }
}

void TComPort::serialReadyRead()
{
    if (!m_receiving)
        return;
    const qint64 waiting = m_serial->bytesAvailable();
    if (waiting <= 0 || !OnRxChar)
        return;
    try {
        OnRxChar(this, int(qMin<qint64>(waiting, INT_MAX)));
    } catch (const std::exception &) {
        // A failing handler ends the notifications; the owner notices the silence.
        stopReceiving();
    }
}

void TComPort::serialError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        stopReceiving();
        return;
    default:
        // Line errors and the like: clear them so that receiving goes on.
        m_serial->clearError();
    }
}

void TComPort::stopReceiving()
{
    if (!m_receiving)
        return;
    m_receiving = false;
    // A hung-up terminal stays readable and reads nothing, so Qt would report it again on
    // every pass of the event loop; the device is released right after this notification.
    QSerialPort *serial = m_serial;
    QMetaObject::invokeMethod(
        serial,
        [serial] {
            if (serial->isOpen())
                serial->close();
        },
        Qt::QueuedConnection);
}

void TComPort::EnumComPorts(QStringList &ports)
{
    ports.clear();
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.append(info.portName());
    SortPortNames(ports);
}

QString TComPort::DevicePath(const QString &portName)
{
    if (portName.startsWith(QLatin1Char('/')) || portName.startsWith(QLatin1String("./")) ||
        portName.startsWith(QLatin1String("../")))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

void TComPort::SortPortNames(QStringList &ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}
