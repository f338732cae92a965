// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WaveStream.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

quint32 read32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 read16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

bool readFmt(const char *chunk, qint64 chunkSize, WaveStream::Format &format)
{
    if (chunkSize < 16 || read16(chunk) != 1)
        return false;
    format.channels = read16(chunk + 2);
    format.sampleRate = int(read32(chunk + 4));
    format.bitsPerSample = read16(chunk + 14);
    return (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.sampleRate > 0;
}

} // namespace

bool WaveStream::parse(const char *wave, qint64 size, Format &format)
{
    if (!wave || size < 12 || std::memcmp(wave, "RIFF", 4) != 0 ||
        std::memcmp(wave + 8, "WAVE", 4) != 0)
        return false;
    bool haveFmt = false;
    for (qint64 at = 12; at + 8 <= size;) {
        const qint64 chunkSize = read32(wave + at + 4);
        const qint64 body = at + 8;
        const qint64 available = qMin(chunkSize, size - body);
        if (std::memcmp(wave + at, "fmt ", 4) == 0) {
            haveFmt = readFmt(wave + body, available, format);
        } else if (std::memcmp(wave + at, "data", 4) == 0) {
            format.dataOffset = body;
            format.dataSize = available;
            return haveFmt;
        }
        at = body + chunkSize + (chunkSize & 1);
    }
    return false;
}

WaveStream::WaveStream(QObject *parent) : QIODevice(parent) {}

void WaveStream::start(const char *wave, const Format &format, bool loop)
{
    close();
    m_samples = wave + format.dataOffset;
    m_format = format;
    m_loop = loop;
    m_frame = 0;
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void WaveStream::setLevels(quint16 left, quint16 right)
{
    m_leftGain = left / 65535.0;
    m_rightGain = right / 65535.0;
}

bool WaveStream::atEnd() const
{
    return !m_loop && m_frame >= m_format.frames();
}

qint64 WaveStream::bytesAvailable() const
{
    if (m_loop && m_format.frames() > 0)
        return std::numeric_limits<int>::max();
    return (m_format.frames() - m_frame) * outputFrameBytes() + QIODevice::bytesAvailable();
}

int WaveStream::scaled(const char *sample, double gain) const
{
    if (m_format.bitsPerSample == 8)
        return int(std::lround((quint8(*sample) - 128) * gain)) + 128;
    return int(std::lround(qFromLittleEndian<qint16>(sample) * gain));
}

void WaveStream::putSample(char *out, int value) const
{
    if (m_format.bitsPerSample == 8)
        *out = char(quint8(qBound(0, value, 255)));
    else
        qToLittleEndian(qint16(qBound(-32768, value, 32767)), out);
}

qint64 WaveStream::readData(char *data, qint64 maxSize)
{
    const qint64 frames = m_format.frames();
    const int bytes = m_format.bytesPerSample();
    const qint64 inFrameBytes = qint64(bytes) * m_format.channels;
    const double left = m_leftGain;
    const double right = m_rightGain;
    qint64 written = 0;
    while (written + outputFrameBytes() <= maxSize && frames > 0) {
        if (m_frame >= frames) {
            if (!m_loop)
                break;
            m_frame = 0;
        }
        const char *in = m_samples + m_frame * inFrameBytes;
        const char *inRight = m_format.channels == 2 ? in + bytes : in;
        putSample(data + written, scaled(in, left));
        putSample(data + written + bytes, scaled(inRight, right));
        written += outputFrameBytes();
        ++m_frame;
    }
    return written;
}
