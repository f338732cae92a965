// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The machine's sound as the tone generator needs it: one in-memory wave file at a time,
// and the program's own output level as two 16-bit channel levels.
class SoundOutput
{
public:
    enum class Mode
    {
        Sync,
        Async,
        Loop
    };

    struct Levels
    {
        quint16 left = 0xFFFF;
        quint16 right = 0xFFFF;
        bool operator==(const Levels &o) const { return left == o.left && right == o.right; }
    };

    virtual ~SoundOutput() = default;

    // Stops what is playing and plays a complete RIFF/WAVE image. The caller keeps the image
    // unchanged until stop() or the next play(). Sync returns when the sound has ended.
    virtual void play(const char *wave, qint64 size, Mode mode) = 0;
    virtual void stop() = 0;
    // False for an output with one level for both channels, held in Levels::left.
    virtual bool hasSeparateLevels() const = 0;
    virtual Levels levels() const = 0;
    virtual void setLevels(Levels levels) = 0;

    // The program's sound output, made on first use.
    static SoundOutput &standard();
};
