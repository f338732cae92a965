// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/ToneTypes.h"

#include <QByteArray>
#include <array>

// The eight further oscillators of a tone: share, waveform and frequency of each.
struct AMTables
{
    std::array<qint16, kAMLevelCount> amplitudes{};
    std::array<TTGWave, kAMLevelCount> waveforms{};
    // A multiple of the main frequency, or Hz when the generator does not use multipliers.
    std::array<float, kAMLevelCount> frequencies{};

    void reset();

    // The stored form: count - 1, then amplitude, waveform and float bits of each level,
    // all 32-bit little-endian (100 bytes).
    QByteArray store() const;
    // Entries beyond the eighth, and a cut-off last entry, are ignored; levels the data
    // does not reach keep their values.
    void load(const QByteArray &data);
};
