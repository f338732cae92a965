#pragma once

#include <QByteArray>

// Tells UTF-8 text apart from single-byte text.
class Utf8Text
{
public:
    // True when the bytes are well-formed UTF-8 and hold at least one non-ASCII character.
    static bool isNonAscii(const QByteArray &bytes);
};
