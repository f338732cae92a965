// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Windows-1250, the single-byte code page of the record files and the catalogue.
// Every byte value round-trips: the five bytes the code page leaves undefined
// map to private-use code points U+F700 + byte.
class Cp1250
{
public:
    static QString toUnicode(const QByteArray &bytes);
    static QByteArray fromUnicode(const QString &text);
    static QChar toChar(unsigned char byte);
    // '?' for characters the code page cannot hold.
    static char fromChar(QChar ch);
    // Each character of the text that the code page cannot hold, once, in order of appearance.
    static QStringList unstorable(const QString &text);
};
