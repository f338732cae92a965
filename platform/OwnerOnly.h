// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

// Files and folders that hold patients' data and that the program makes itself (backups,
// restored folders, exported pages) are their owner's alone, from the moment they exist; a
// practice that shares them does so on purpose, with a group folder.
class OwnerOnly
{
public:
    static constexpr QFile::Permissions kFile = QFile::ReadOwner | QFile::WriteOwner;
    static constexpr QFile::Permissions kFolder =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

    // Makes `folder` and every missing folder above it, each owner-only; true when it exists.
    static bool makeFolder(const QString &folder);
    // Makes `path` an empty owner-only file, or an existing one owner-only, before it is written.
    static bool prepareFile(const QString &path);
};
