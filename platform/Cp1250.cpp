// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cp1250.h"

#include <array>
#include <unordered_map>

namespace {

constexpr char16_t kUndefinedBase = 0xF700;

constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const std::unordered_map<char16_t, unsigned char> &reverseTable()
{
    static const auto table = [] {
        std::unordered_map<char16_t, unsigned char> map;
        for (int byte = 0; byte < 256; ++byte)
            map.emplace(Cp1250::toChar(static_cast<unsigned char>(byte)).unicode(),
                        static_cast<unsigned char>(byte));
        return map;
    }();
    return table;
}

} // namespace

QChar Cp1250::toChar(unsigned char byte)
{
    if (byte < 0x80)
        return QChar(byte);
    const char16_t code = kHighHalf[byte - 0x80];
    return QChar(code != 0 ? code : char16_t(kUndefinedBase + byte));
}

char Cp1250::fromChar(QChar ch)
{
    if (ch.unicode() < 0x80)
        return static_cast<char>(ch.unicode());
    const auto &table = reverseTable();
    const auto found = table.find(ch.unicode());
    return found != table.end() ? static_cast<char>(found->second) : '?';
}

QString Cp1250::toUnicode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = toChar(static_cast<unsigned char>(byte));
    return text;
}

QByteArray Cp1250::fromUnicode(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : text)
        *out++ = fromChar(ch);
    return bytes;
}

QStringList Cp1250::unstorable(const QString &text)
{
    QStringList found;
    const QList<uint> points = text.toUcs4();
    for (const uint point : points) {
        if (point < 0x80 || (point < 0x10000 && reverseTable().count(char16_t(point))))
            continue;
        const char32_t code = point;
        const QString character = QString::fromUcs4(&code, 1);
        if (!found.contains(character))
            found << character;
    }
    return found;
}
