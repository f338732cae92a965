// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CueTone.h"

#include "audio/TToneGen.h"

void CueTone::configure(TToneGen &tone)
{
    tone.SetResolution(tg8Bit);
    tone.SetQuality(tgLoQ);
    tone.SetLeftVolume(50);
    tone.SetRightVolume(50);
    for (int level = 0; level < kAMLevelCount; ++level) {
        tone.SetAMLevel(TTGAMLevel(level));
        tone.SetAMAmplitude(0);
    }
    tone.SetAMLevel(tgAMLevel1);
}
