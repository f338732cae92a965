// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// Sets when a file or folder was last changed. Qt sets it only through an open file, and a
// folder cannot be opened as one.
class FileTime
{
public:
    static bool setModified(const QString &path, const QDateTime &time);
};
