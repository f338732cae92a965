// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BoundedFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The text files of the records, the catalogue and the settings, read whole within the
// text bound. They are Windows-1250; a UTF-8 byte-order mark says UTF-8.
class TextFile
{
public:
    enum Encoding
    {
        Cp1250,
        // The settings: also UTF-8 without a mark, wherever the bytes read as UTF-8.
        Cp1250OrUtf8,
    };

    // A file that is no text is Damaged and leaves `text` empty.
    static BoundedFile::Status read(const QString &path, Encoding encoding, QString &text);
    // Nothing for bytes that are no text of ours: UTF-16 or UTF-32, NUL and the other
    // control bytes that no editor writes, broken UTF-8 after a UTF-8 mark.
    static std::optional<QString> decode(const QByteArray &bytes, Encoding encoding);
    // Well-formed UTF-8 holding at least one non-ASCII character: single-byte text rarely is.
    static bool readsAsUtf8(const QByteArray &bytes);
};
