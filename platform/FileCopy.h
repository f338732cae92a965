#pragma once

#include <QString>
#include <functional>
#include <memory>

class QIODevice;

// The records' file copy: the destination may name a folder, an existing file is
// replaced, and the copy gets a new time stamp.
class FileCopy
{
public:
    // An open source device, or nullptr when the file cannot be opened for reading.
    using SourceOpener = std::function<std::unique_ptr<QIODevice>(const QString &path)>;

    // Returns an empty text on success, otherwise "Cannot open file <source>" (also when
    // the source cannot be read to its end) or "Cannot create file <destination>". A
    // failed copy leaves an existing destination as it was.
    static QString copyFileTo(const QString &source, const QString &destination);
    // Tests read through a failing device; nullptr restores plain files.
    static void setSourceOpener(SourceOpener opener);

    static constexpr qint64 kChunkSize = 8192;
};
