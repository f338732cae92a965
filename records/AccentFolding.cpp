// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/AccentFolding.h"

#include "platform/Cp1250.h"

namespace {

QChar plainLetter(QChar ch)
{
    switch (ch.unicode()) {
    case 0x00C1:
        return QLatin1Char('A'); // Á
    case 0x00C9:
        return QLatin1Char('E'); // É
    case 0x00CD:
        return QLatin1Char('I'); // Í
    case 0x00D3:                 // Ó
    case 0x0150:                 // Ő
    case 0x00D6:
        return QLatin1Char('O'); // Ö
    case 0x00DA:                 // Ú
    case 0x0170:                 // Ű
    case 0x00DC:
        return QLatin1Char('U'); // Ü
    case 0x00E1:
        return QLatin1Char('a'); // á
    case 0x00E9:
        return QLatin1Char('e'); // é
    case 0x00ED:
        return QLatin1Char('i'); // í
    case 0x00F3:                 // ó
    case 0x0151:                 // ő
    case 0x00F6:
        return QLatin1Char('o'); // ö
    case 0x00FA:                 // ú
    case 0x0171:                 // ű
    case 0x00FC:
        return QLatin1Char('u'); // ü
    default:
        return ch;
    }
}

} // namespace

QString AccentFolding::FoldAccents(const QString &text)
{
    QString folded = text;
    for (QChar &ch : folded)
        ch = plainLetter(ch);
    return folded;
}

QByteArray AccentFolding::searchKey(const QString &text)
{
    QByteArray bytes = Cp1250::fromUnicode(FoldAccents(text));
    for (char &byte : bytes) {
        if (byte >= 'a' && byte <= 'z')
            byte = static_cast<char>(byte - 'a' + 'A');
    }
    return bytes;
}

bool AccentFolding::lessThan(const QString &a, const QString &b)
{
    const int byKey = searchKey(a).compare(searchKey(b));
    if (byKey != 0)
        return byKey < 0;
    const int byCase = a.compare(b, Qt::CaseInsensitive);
    if (byCase != 0)
        return byCase < 0;
    return a < b;
}
