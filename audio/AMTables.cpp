// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/AMTables.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kEntrySize = 12;

void append32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

quint32 read32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

TTGWave waveFromStored(quint32 value)
{
    const quint8 number = quint8(value & 0xFF);
    return number <= tgNoise ? TTGWave(number) : tgSine;
}

} // namespace

void AMTables::reset()
{
    for (int i = 0; i < kAMLevelCount; ++i) {
        amplitudes[i] = 0;
        waveforms[i] = tgSine;
        frequencies[i] = float(i + 1) / 2;
    }
}

QByteArray AMTables::store() const
{
    QByteArray bytes;
    append32(bytes, kAMLevelCount - 1);
    for (int i = 0; i < kAMLevelCount; ++i) {
        append32(bytes, quint32(qint32(amplitudes[i])));
        append32(bytes, quint32(waveforms[i]));
        quint32 bits;
        std::memcpy(&bits, &frequencies[i], sizeof bits);
        append32(bytes, bits);
    }
    return bytes;
}

void AMTables::load(const QByteArray &data)
{
    if (data.size() < 4)
        return;
    const qint64 stored = qint64(qint32(read32(data.constData()))) + 1;
    const qint64 present = (data.size() - 4) / kEntrySize;
    const int count = int(std::clamp<qint64>(std::min(stored, present), 0, kAMLevelCount));
    for (int i = 0; i < count; ++i) {
        const char *entry = data.constData() + 4 + i * kEntrySize;
        amplitudes[i] = qint16(read32(entry) & 0xFFFF);
        waveforms[i] = waveFromStored(read32(entry + 4));
        const quint32 bits = read32(entry + 8);
        std::memcpy(&frequencies[i], &bits, sizeof bits);
    }
}
