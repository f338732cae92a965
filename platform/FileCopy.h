#pragma once

#include <QString>

// The records' file copy: the destination may name a folder, an existing file is
// replaced, and the copy gets a new time stamp.
class FileCopy
{
public:
    // Returns an empty text on success, otherwise "Cannot open file <source>" or
    // "Cannot create file <destination>".
    static QString copyFileTo(const QString &source, const QString &destination);

    static constexpr qint64 kChunkSize = 8192;
};
