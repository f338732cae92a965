// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/ToneTypes.h"

#include <QByteArray>

// How samples are laid out in the wave buffer for one combination of settings.
struct SampleLayout
{
    int bytesPerSample = 2;
    int channels = 1;
    int sampleRate = 96000;
    int samplesPer10ms = 960;

    static SampleLayout of(TTGResolution resolution, TTGQuality quality, bool stereo);

    int frameBytes() const { return bytesPerSample * channels; }
    bool eightBit() const { return bytesPerSample == 1; }
    char fillValue() const { return eightBit() ? char(128) : char(0); }
    qint64 dataSize(int durationMs) const;
    // The 44-byte RIFF/WAVE header for a sample area of dataSize bytes.
    QByteArray waveHeader(qint64 dataSize) const;

    static constexpr int kHeaderSize = 44;
    static constexpr int kSlackSize = 32;
};
