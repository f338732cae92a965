// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QIODevice;

// The records' file copy: the destination may name a folder, an existing file is
// replaced, and the copy gets a new time stamp. Only a regular file is copied, and
// none larger than any record file can be.
class FileCopy
{
public:
    // An open source device, or nullptr when the file cannot be opened for reading.
    using SourceOpener = std::function<std::unique_ptr<QIODevice>(const QString &path)>;

    // The failure texts, "%s" standing for the file's path; a window passes its catalogue's.
    struct Texts
    {
        QString cannotOpen = QStringLiteral("Cannot open file %s");
        QString cannotCreate = QStringLiteral("Cannot create file %s");
    };

    // Returns an empty text on success, otherwise the cannot-open text with the source (also
    // when the source cannot be read to its end or is larger than kMaxBytes) or the cannot-create
    // text with the destination, also when the destination read back differs from what was read.
    // The source is read to its end, not to the size the folder reports. A failed copy leaves an
    // existing destination as it was.
    static QString copyFileTo(const QString &source, const QString &destination,
                              const Texts &texts);
    static QString copyFileTo(const QString &source, const QString &destination);
    // Tests read through a failing device; nullptr restores plain files.
    static void setSourceOpener(SourceOpener opener);

    static constexpr qint64 kChunkSize = 8192;
    // Above the largest sheet file the records take.
    static constexpr qint64 kMaxBytes = 128 * 1024 * 1024;
};
