// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The simulated device's end of a serial line: a pseudo-terminal whose other end the program
// opens through a symbolic link. Unplugging closes the terminal, which the program sees as a
// hang-up, and removes the link; plugging in again makes a fresh terminal behind the link.
class PtyDevice
{
public:
    static constexpr int kByteMicroseconds = 1042; // ten bits at 9600 bit/s

    explicit PtyDevice(QString linkPath);
    ~PtyDevice();
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    // False with a reason in error() when the terminal or the link cannot be made.
    bool plug();
    void unplug();
    bool plugged() const { return m_master >= 0; }

    // Bytes at the line's pace. Bytes that nobody reads pile up in the terminal until it is
    // full; after that they are dropped, as a device without handshake would lose them.
    void send(const QByteArray &bytes);
    // All bytes in one write, so that a port opened meanwhile never sees a tail of them.
    void sendAtOnce(const QByteArray &bytes);

    const QString &linkPath() const { return m_linkPath; }
    const QString &ttyPath() const { return m_ttyPath; }
    const QString &error() const { return m_error; }

private:
    bool makeLink();

    QString m_linkPath;
    QString m_ttyPath;
    QString m_error;
    int m_master = -1;
    int m_slave = -1;
};
