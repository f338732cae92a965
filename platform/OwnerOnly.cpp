// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OwnerOnly.h"

#include <QDir>
#include <QFileInfo>

bool OwnerOnly::makeFolder(const QString &folder)
{
    const QFileInfo info(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink() || info.isRoot())
        return false;
    // Another process may make it meanwhile; what counts is that it is there.
    return makeFolder(info.absolutePath()) &&
           (QDir().mkdir(info.filePath(), kFolder) || QFileInfo(info.filePath()).isDir());
}

bool OwnerOnly::prepareFile(const QString &path)
{
    QFile file(path);
    if (file.exists())
        return file.setPermissions(kFile);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kFile);
}
