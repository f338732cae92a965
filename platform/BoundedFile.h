// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

// A file of the records, the catalogue or the settings is read only when it is a regular
// file (a link to one included), opened without waiting for a writer, and no further than
// a bound far above any real file of its kind. A FIFO, a device or a runaway file is
// damaged: it never hangs the program or fills its memory.
class BoundedFile
{
public:
    enum Status
    {
        Read,
        Missing,
        // Present, but no regular file, beyond its bound, unreadable or no text.
        Damaged,
    };

    // Card files, memos, the catalogue and the settings hold a few kilobytes.
    static constexpr qint64 kTextLimit = 4 * 1024 * 1024;

    // The file open for reading, or nullptr with Missing or Damaged; `reason` then says why
    // (the operating system's words, or the kind of file that is no regular file).
    static std::unique_ptr<QFile> open(const QString &path, Status *status = nullptr,
                                       QString *reason = nullptr);
    // The whole file when it holds at most `limit` bytes; a longer one is Damaged.
    static Status read(const QString &path, qint64 limit, QByteArray &bytes,
                       QString *reason = nullptr);
    // Why a file of `size` bytes is refused by a bound of `limit`.
    static QString beyondBound(qint64 limit);
    // At most `limit` bytes, and one more when the device goes on beyond them; false on a
    // read error.
    static bool readUpTo(QIODevice &device, qint64 limit, QByteArray &bytes);
};
