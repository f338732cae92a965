// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// One treatment sheet as it lies in the .kl file: a 368-byte header of four
// length-prefixed Windows-1250 strings and DataLen, then 24 little-endian readings.
struct KLRecord
{
    static constexpr int kRecordSize = 464;
    static constexpr int kHeaderSize = 368;
    static constexpr int kDataLen = 96;
    static constexpr int kReadingCount = 24;
    static constexpr int kIdopontSize = 20;
    static constexpr int kHelyszinSize = 20;
    static constexpr int kStatuszSize = 240;
    static constexpr int kEgyebSize = 80;
    static constexpr int kDataLenOffset = 364;
    // Entry for an empty cell or one that held no whole number.
    static constexpr qint32 kNoReading = -1;

    QString Idopont;
    QString Helyszin;
    QString Statusz;
    QString Egyeb;
    qint32 DataLen = kDataLen;
    std::array<qint32, kReadingCount> Readings;

    KLRecord();

    // Entry k is grid cell (column 1 + k / 12, row 1 + k % 12).
    static int readingIndex(int col, int row) { return (col - 1) * 12 + (row - 1); }

    // Texts longer than their fields are cut; unused bytes are zero.
    QByteArray header() const;
    QByteArray readingsBlock() const;
    QByteArray bytes() const { return header() + readingsBlock(); }

    // A record starting at data[0], or nothing when fewer than 464 bytes remain or
    // DataLen is not 96. A length byte beyond its field reads as the whole field.
    static std::optional<KLRecord> decode(const char *data, qsizetype available);
};
