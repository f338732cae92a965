// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/NoiseGenerator.h"

quint32 NoiseGenerator::s_state = 0;

quint32 NoiseGenerator::next(quint32 range)
{
    s_state = s_state * 134775813u + 1u;
    return quint32((quint64(s_state) * range) >> 32);
}
