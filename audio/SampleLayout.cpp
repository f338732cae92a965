// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SampleLayout.h"

#include <QtEndian>

namespace {

void put32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void put16(QByteArray &bytes, int offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace

SampleLayout SampleLayout::of(TTGResolution resolution, TTGQuality quality, bool stereo)
{
    SampleLayout layout;
    layout.bytesPerSample = resolution == tg8Bit ? 1 : 2;
    layout.channels = stereo ? 2 : 1;
    layout.sampleRate = quality == tgLoQ ? 44100 : 96000;
    layout.samplesPer10ms = quality == tgLoQ ? 441 : 960;
    return layout;
}

qint64 SampleLayout::dataSize(int durationMs) const
{
    const qint64 mono = qint64(bytesPerSample) * durationMs * samplesPer10ms / 10;
    return mono * channels;
}

QByteArray SampleLayout::waveHeader(qint64 dataSize) const
{
    QByteArray header(kHeaderSize, '\0');
    header.replace(0, 4, "RIFF");
    put32(header, 4, quint32(dataSize + 36));
    header.replace(8, 8, "WAVEfmt ");
    put32(header, 16, 16);
    put16(header, 20, 1);
    put16(header, 22, quint16(channels));
    put32(header, 24, quint32(sampleRate));
    put32(header, 28, quint32(channels * sampleRate * bytesPerSample));
    put16(header, 32, quint16(frameBytes()));
    put16(header, 34, quint16(bytesPerSample * 8));
    header.replace(36, 4, "data");
    put32(header, 40, quint32(dataSize));
    return header;
}
