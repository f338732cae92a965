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
    m_next = {};
    begin({wave + format.dataOffset, format, loop});
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void WaveStream::begin(const Sound &sound)
{
    m_samples = sound.samples;
    m_format = sound.format;
    m_loop = sound.loop;
    m_frame = 0;
    m_fade = -1;
    m_tailRead = 0;
}

bool WaveStream::follow(const char *wave, const Format &format, bool loop)
{
    if (!isOpen() || format.sampleRate != m_format.sampleRate ||
        format.bitsPerSample != m_format.bitsPerSample)
        return false;
    m_next = {wave + format.dataOffset, format, loop};
    // A sink that found the stream at its end waits for this before it reads again.
    emit readyRead();
    return true;
}

void WaveStream::fadeOut()
{
    m_next = {};
    if (!soundEnded() && m_fade < 0)
        m_fade = qint64(m_format.sampleRate) * kFadeMs / 1000;
}

void WaveStream::setTail(qint64 frames)
{
    m_tail = frames;
}

void WaveStream::setLevels(quint16 left, quint16 right)
{
    m_leftGain = left / 65535.0;
    m_rightGain = right / 65535.0;
}

bool WaveStream::soundEnded() const
{
    return m_fade == 0 || m_format.frames() == 0 || (!m_loop && m_frame >= m_format.frames());
}

bool WaveStream::atEnd() const
{
    return soundEnded() && !m_next.samples && m_tailRead >= m_tail;
}

qint64 WaveStream::bytesAvailable() const
{
    if (m_loop && m_fade < 0 && m_format.frames() > 0)
        return std::numeric_limits<int>::max();
    const qint64 sound = soundEnded() ? 0 : m_fade >= 0 ? m_fade : m_format.frames() - m_frame;
    const qint64 next = m_next.samples ? m_next.format.frames() + m_tail : 0;
    return (sound + qMax<qint64>(0, m_tail - m_tailRead) + next) * outputFrameBytes() +
           QIODevice::bytesAvailable();
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

void WaveStream::putFrame(char *out, double fade)
{
    if (m_frame >= m_format.frames())
        m_frame = 0;
    const int bytes = m_format.bytesPerSample();
    const char *in = m_samples + m_frame * qint64(bytes) * m_format.channels;
    const char *inRight = m_format.channels == 2 ? in + bytes : in;
    putSample(out, scaled(in, m_leftGain * fade));
    putSample(out + bytes, scaled(inRight, m_rightGain * fade));
    ++m_frame;
}

void WaveStream::putSilence(char *out) const
{
    putSample(out, m_format.bitsPerSample == 8 ? 128 : 0);
    putSample(out + m_format.bytesPerSample(), m_format.bitsPerSample == 8 ? 128 : 0);
}

qint64 WaveStream::readData(char *data, qint64 maxSize)
{
    const qint64 fadeFrames = qint64(m_format.sampleRate) * kFadeMs / 1000;
    qint64 written = 0;
    while (written + outputFrameBytes() <= maxSize) {
        if (soundEnded() && m_next.samples) {
            begin(m_next);
            m_next = {};
            continue;
        }
        if (!soundEnded()) {
            putFrame(data + written, m_fade >= 0 ? double(m_fade--) / (fadeFrames + 1) : 1.0);
        } else if (m_tailRead < m_tail) {
            putSilence(data + written);
            ++m_tailRead;
        } else {
            break;
        }
        written += outputFrameBytes();
    }
    return written;
}
