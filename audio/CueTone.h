// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TToneGen;

// The measuring run's cue that says "stored, lift the probe": a 100 ms, 440 Hz pure sine,
// 8-bit mono, at half volume.
namespace CueTone {
void configure(TToneGen &tone);
}
