// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/BackupResult.h"

#include <QString>
#include <QtGlobal>

// Reads a backup zip entry by entry and checks it whole: the zip's own structure and CRCs,
// that every name stays inside the folder it is unpacked into, that it holds nothing but
// plain files and folders, and that the files are exactly those of its manifest with their
// SHA-256. Given a folder, it unpacks the entries into it as it goes (the manifest excepted);
// the caller removes the folder when the result is not ok.
class BackupReader
{
public:
    static BackupResult read(const QString &zipPath, const QString &folder = QString(),
                             const BackupProgress &progress = {});
    // Relative, without "..", and no drive letter, whichever separator the zip's maker used.
    static bool isSafeName(const QString &name);

    // No entry of a backup may unpack to more (a sheet file holds at most 93 MB); a restore
    // also needs room for all the zip declares before it writes anything.
    static constexpr qint64 kMaxEntryBytes = qint64(1) << 30;
    // Tests use a smaller bound; 0 restores this one.
    static void setEntryLimit(qint64 bytes);
};
