// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The program's pseudo-random sequence. Tone builds restart it at a fixed seed so that
// noise sounds the same every time, and hand the previous state back afterwards.
class NoiseGenerator
{
public:
    static quint32 state() { return s_state; }
    static void setState(quint32 state) { s_state = state; }
    // A value from 0 to range - 1.
    static quint32 next(quint32 range);

    // Restarts the sequence at seed 1 for its lifetime, then hands the previous state back.
    class FixedSeed
    {
    public:
        FixedSeed() : m_saved(s_state) { s_state = 1; }
        ~FixedSeed() { s_state = m_saved; }
        FixedSeed(const FixedSeed &) = delete;
        FixedSeed &operator=(const FixedSeed &) = delete;

    private:
        quint32 m_saved;
    };

private:
    static quint32 s_state;
};
