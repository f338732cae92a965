// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Moves a file or a folder to a name that must not exist yet, never by copying. A rename
// that refuses an existing target, else a hard link and the removal of the old name, else
// (SMB) the name claimed by an exclusive create and the file renamed over that claim. An
// interruption of the last way may leave an empty file under the new name.
class FileMove
{
public:
    // True when `from` now has the name `to`. Otherwise `reason` holds the operating system's
    // words and `error` its number (EEXIST for an existing target).
    static bool withoutReplacing(const QString &from, const QString &to, QString *reason = nullptr,
                                 int *error = nullptr);
    // Tests take the fallbacks of folders without the rename flag, or without hard links too.
    static void setPrimitives(bool renameFlag, bool hardLinks);
};
