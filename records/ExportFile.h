// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/ExportResult.h"

#include <QByteArray>
#include <QString>
#include <functional>

// A file of patients' data handed out of the database folder: owner-only from the moment it
// exists, complete or not there at all, and never over another file unless the user chose it.
class ExportFile
{
public:
    // Refuses an existing `target` unless `replace`; TargetExists is checked again at the
    // very end, so a file made meanwhile by someone else is not replaced either.
    static ExportResult write(const QString &target, const QByteArray &bytes, bool replace);
    // TargetExists when `target` is there and must not be replaced; otherwise success.
    static ExportResult mayWrite(const QString &target, bool replace);
    // Builds the bytes only once `target` may be written, and writes them when they are whole.
    static ExportResult writeBuilt(const QString &target, bool replace,
                                   const std::function<ExportResult(QByteArray &)> &build);
};
