// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/KLRecord.h"

#include "platform/Cp1250.h"

#include <QtEndian>

namespace {

constexpr int kIdopontOffset = 0;
constexpr int kHelyszinOffset = 21;
constexpr int kStatuszOffset = 42;
constexpr int kEgyebOffset = 283;

void putString(QByteArray &header, int offset, int size, const QString &text)
{
    const QByteArray bytes = Cp1250::fromUnicode(text).left(size);
    header[offset] = static_cast<char>(bytes.size());
    header.replace(offset + 1, bytes.size(), bytes);
}

QString getString(const char *data, int offset, int size)
{
    const int length = std::min<int>(static_cast<unsigned char>(data[offset]), size);
    return Cp1250::toUnicode(QByteArray(data + offset + 1, length));
}

} // namespace

KLRecord::KLRecord()
{
    Readings.fill(kNoReading);
}

QByteArray KLRecord::header() const
{
    QByteArray header(kHeaderSize, '\0');
    putString(header, kIdopontOffset, kIdopontSize, Idopont);
    putString(header, kHelyszinOffset, kHelyszinSize, Helyszin);
    putString(header, kStatuszOffset, kStatuszSize, Statusz);
    putString(header, kEgyebOffset, kEgyebSize, Egyeb);
    qToLittleEndian<qint32>(DataLen, header.data() + kDataLenOffset);
    return header;
}

QByteArray KLRecord::readingsBlock() const
{
    QByteArray block(kDataLen, '\0');
    for (int k = 0; k < kReadingCount; ++k)
        qToLittleEndian<qint32>(Readings[k], block.data() + 4 * k);
    return block;
}

std::optional<KLRecord> KLRecord::decode(const char *data, qsizetype available)
{
    if (available < kRecordSize)
        return std::nullopt;
    KLRecord record;
    record.DataLen = qFromLittleEndian<qint32>(data + kDataLenOffset);
    if (record.DataLen != kDataLen)
        return std::nullopt;
    record.Idopont = getString(data, kIdopontOffset, kIdopontSize);
    record.Helyszin = getString(data, kHelyszinOffset, kHelyszinSize);
    record.Statusz = getString(data, kStatuszOffset, kStatuszSize);
    record.Egyeb = getString(data, kEgyebOffset, kEgyebSize);
    for (int k = 0; k < kReadingCount; ++k)
        record.Readings[k] = qFromLittleEndian<qint32>(data + kHeaderSize + 4 * k);
    return record;
}
