// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/BackupResult.h"

#include <QString>

// Restores a backup into a folder that does not exist yet or is empty. The zip is unpacked
// into a partial folder beside it, which takes the folder's name only when every entry has
// passed its checks; a refused restore leaves nothing behind.
class BackupRestore
{
public:
    static BackupResult restore(const QString &zipPath, const QString &targetFolder,
                                const BackupProgress &progress = {});
};
