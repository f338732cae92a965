// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Note names such as "A", "c#", ">E", "O3G-" or "N49", counted in semitones from A.
class NoteName
{
public:
    struct Result
    {
        int frequency = 0; // Hz, 0 when the text is no valid note
        int octave = 0;
    };

    // octave is the current octave that a name without its own octave part uses.
    static Result parse(const QString &text, int octave);

    static constexpr int kMinOctave = 0;
    static constexpr int kMaxOctave = 9;
};
