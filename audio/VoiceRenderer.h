// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/SampleLayout.h"
#include "audio/ToneTypes.h"

// Adds one oscillator to a sample area. Cycle lengths are whole sample counts that
// alternate around the exact period, so no phase is carried from sample to sample.
class VoiceRenderer
{
public:
    struct Voice
    {
        int share = 0;        // % of full scale
        double frequency = 0; // Hz, whole
        TTGWave waveform = tgSine;
    };

    // A silent voice (no share, no frequency, or a cycle shorter than one sample) leaves
    // the area alone.
    static void render(quint8 *area, qint64 dataSize, const SampleLayout &layout,
                       const Voice &voice);
};
