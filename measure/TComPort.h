// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <functional>

// A serial port at 9600 bit/s, 8N1, without flow control and with DTR and RTS held off, as
// the measuring device needs it. Received bytes are announced to OnRxChar on the thread that
// owns the port, one notification after the other, with the number of bytes waiting; reads
// never wait for bytes that have not arrived. Failures are raised as EComPort.
class TComPort : public QObject
{
    Q_OBJECT

public:
    using RxCharHandler = std::function<void(TComPort *sender, int count)>;

    explicit TComPort(QObject *parent = nullptr);
    ~TComPort() override;

    const QString &Port() const { return m_port; }
    // Equal name: nothing. Otherwise an open port is closed and opened again under the new name.
    void SetPort(const QString &name);

    bool Connected() const { return m_connected; }
    void SetConnected(bool connected);
    void Open();
    void Close();

    int Read(char *buffer, int count);
    void ClearBuffer(bool input, bool output);

    // False once the device has gone away while open; the port stays marked open, silent,
    // until it is closed.
    bool Receiving() const { return m_receiving; }

    // The ports the system enumerates, by name, sorted as text without regard to case.
    static void EnumComPorts(QStringList &ports);
    static void SortPortNames(QStringList &ports);
    // The device file a port name stands for: a path as it is, a bare name under /dev/.
    static QString DevicePath(const QString &portName);

    RxCharHandler OnRxChar;

private:
    void serialReadyRead();
    void serialError(QSerialPort::SerialPortError error);
    void stopReceiving();
    void holdControlLinesOff();

    QString m_port = QStringLiteral("COM1");
    QSerialPort *m_serial = nullptr;
    bool m_connected = false;
    bool m_receiving = false;
};
