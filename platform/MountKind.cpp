// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountKind.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

MountKind::Traits MountKind::traitsOf(const QString &type)
{
    // libsmbclient over FUSE: an exclusive create reaches the server without its flag, and a
    // rename over a file is "remove the target, then rename", whose second step fails while
    // FUSE has not yet closed the new file. sshfs, NFS and the kernel's SMB client pass both
    // on to the server.
    if (type == QStringLiteral("fuse.smbnetfs") || type == QStringLiteral("fuse.fusesmb"))
        return {false, false};
    return {};
}

MountKind::Traits MountKind::traitsAt(const QString &path)
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return {};
    // A share that fails a look-up for a moment gives no canonical path: the plain one then.
    const QString folder = QFileInfo(path).absolutePath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return traitsOf(typeIn(mounts.readAll(), canonical.isEmpty() ? folder : canonical));
}

QString MountKind::typeIn(const QByteArray &mounts, const QString &canonicalFolder)
{
    const QString folder = canonicalFolder + QLatin1Char('/');
    QString type;
    qsizetype longest = -1;
    for (const QByteArray &line : mounts.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        // The table writes a blank in a mount point as \040.
        QString point =
            QString::fromLocal8Bit(fields[1]).replace(QStringLiteral("\\040"), QStringLiteral(" "));
        if (!point.endsWith(QLatin1Char('/')))
            point += QLatin1Char('/');
        if (folder.startsWith(point) && point.size() > longest) {
            longest = point.size();
            type = QString::fromLatin1(fields[2]);
        }
    }
    return type;
}
