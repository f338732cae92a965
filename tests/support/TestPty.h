// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal whose far end the test writes as the device would. The near end is
// reached through the terminal's own path or a symbolic link to it.
class TestPty
{
public:
    explicit TestPty(const QString &linkPath = QString()) : m_link(linkPath)
    {
        termios raw{};
        cfmakeraw(&raw);
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
            return;
        fcntl(m_master, F_SETFD, FD_CLOEXEC);
        fcntl(m_slave, F_SETFD, FD_CLOEXEC);
        m_tty = QString::fromLocal8Bit(name);
        if (!m_link.isEmpty()) {
            QFile::remove(m_link);
            QFile::link(m_tty, m_link);
        }
    }

    ~TestPty() { hangUp(); }
    TestPty(const TestPty &) = delete;
    TestPty &operator=(const TestPty &) = delete;

    bool isOpen() const { return m_master >= 0; }
    // What the program opens: the link when there is one.
    QString path() const { return m_link.isEmpty() ? m_tty : m_link; }
    int nearEnd() const { return m_slave; }

    void write(const QByteArray &bytes)
    {
        const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
        Q_UNUSED(written);
    }

    // The device is pulled out: whoever has the terminal open sees a hang-up.
    void hangUp()
    {
        if (!m_link.isEmpty())
            QFile::remove(m_link);
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
        m_master = m_slave = -1;
    }

private:
    QString m_link;
    QString m_tty;
    int m_master = -1;
    int m_slave = -1;
};
