// SPDX-License-Identifier: GPL-3.0-or-later
#include "PtyDevice.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void pause(int microseconds)
{
    timespec wait{0, long(microseconds) * 1000};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

} // namespace

PtyDevice::PtyDevice(QString linkPath) : m_linkPath(std::move(linkPath)) {}

PtyDevice::~PtyDevice()
{
    unplug();
}

bool PtyDevice::plug()
{
    if (plugged())
        return true;
    // Raw from the start: bytes written before the program opens the line must not be
    // echoed or held back for a line end.
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_error = QStringLiteral("openpty: ") + systemError();
        m_master = m_slave = -1;
        return false;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_ttyPath = QString::fromLocal8Bit(name);
    if (!makeLink()) {
        unplug();
        return false;
    }
    return true;
}

bool PtyDevice::makeLink()
{
    const QFileInfo existing(m_linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        m_error = m_linkPath + QStringLiteral(" exists and is not a link; not replacing it");
        return false;
    }
    // A new link under a temporary name replaces the old one in a single rename.
    const QByteArray link = m_linkPath.toLocal8Bit();
    const QByteArray temporary = link + ".new";
    ::unlink(temporary.constData());
    if (::symlink(m_ttyPath.toLocal8Bit().constData(), temporary.constData()) != 0 ||
        ::rename(temporary.constData(), link.constData()) != 0) {
        m_error = QStringLiteral("link %1: %2").arg(m_linkPath, systemError());
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void PtyDevice::unplug()
{
    if (!plugged())
        return;
    if (QFileInfo(m_linkPath).isSymLink())
        ::unlink(m_linkPath.toLocal8Bit().constData());
    ::close(m_master);
    ::close(m_slave);
    m_master = m_slave = -1;
    m_ttyPath.clear();
}

void PtyDevice::sendAtOnce(const QByteArray &bytes)
{
    if (!plugged())
        return;
    const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    Q_UNUSED(written);
}

void PtyDevice::send(const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size() && plugged(); ++i) {
        if (i > 0)
            pause(kByteMicroseconds);
        const ssize_t written = ::write(m_master, bytes.constData() + i, 1);
        Q_UNUSED(written);
    }
}
