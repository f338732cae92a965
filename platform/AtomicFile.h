// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Writes of the record files that a crash or a full disk can never leave half done.
class AtomicFile
{
public:
    enum Mode
    {
        AtomicOnly,
        // Where the folder takes no new file but the file itself is writable, it is
        // overwritten in place rather than left unsaved.
        InPlaceFallback,
    };

    // Writes `bytes` beside the file and then puts them in its place; where a rename over the
    // file would remove it first (MountKind), over the old bytes instead.
    static bool write(const QString &path, const QByteArray &bytes, Mode mode = AtomicOnly);
    // Tests write in place on a local folder too.
    static void setInPlaceEverywhere(bool inPlace);
    // Renames `from` to `to` in one step, replacing a file named `to`.
    static bool replace(const QString &from, const QString &to);
};
