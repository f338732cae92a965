// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What the file system under a folder does with the two steps that shared records rest on.
class MountKind
{
public:
    struct Traits
    {
        // Creating a file only if absent holds against every other client.
        bool exclusiveCreate = true;
        // A rename over an existing file replaces it in one step, never removing it first.
        bool atomicReplace = true;
    };

    static Traits traitsOf(const QString &type);
    // Of the folder that holds `path`, which need not exist yet.
    static Traits traitsAt(const QString &path);
    // The file system type ("ext4", "fuse.sshfs") of the longest mount point in `mounts`
    // (lines as in /proc/self/mounts) that holds `canonicalFolder`; empty when none does.
    static QString typeIn(const QByteArray &mounts, const QString &canonicalFolder);
};
