// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The last file that could not be written on this thread, with the operating system's reason,
// so that a message several layers up can name both ("/data/BXEQ0001.sza: No space left on
// device") without every layer passing them on.
class FileError
{
public:
    static void clear();
    static void note(const QString &path, const QString &reason);
    // Why no file can be made in the folder of `path`, as the system answers for the folder
    // ("No such file or directory", "Permission denied", "Read-only file system") or for a
    // write into it ("No space left on device").
    static void noteFolderOf(const QString &path);
    // "path: reason", or empty when nothing failed since the last clear().
    static QString last();
    // The system's reason why `path` cannot be read, or written (a missing one: made in its
    // folder), as "path: reason"; empty when the system sees none.
    static QString explain(const QString &path, bool writing);
};
