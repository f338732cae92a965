// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/SampleLayout.h"

// Attack-hold-decay-sustain-release laid over a finished sample area.
class Envelope
{
public:
    // Shares in % of the duration; sustainLevel in % of full level.
    struct Settings
    {
        int attack = 10;
        int hold = 5;
        int decay = 20;
        int sustainLevel = 50;
        int release = 30;
    };

    // The shares after rescaling to at most 100 %; sustain is what is left over.
    struct Shares
    {
        int attack = 0;
        int hold = 0;
        int decay = 0;
        int sustain = 0;
        int release = 0;
    };

    static Shares shares(const Settings &settings);
    static void apply(quint8 *area, qint64 dataSize, const SampleLayout &layout,
                      const Settings &settings);
};
