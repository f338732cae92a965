// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SoundOutput.h"

#include <QByteArray>
#include <QList>

// Records what a tone generator asks of the sound output, without making a sound.
class FakeSoundOutput : public SoundOutput
{
public:
    explicit FakeSoundOutput(Levels start = {}, bool separate = true)
        : current(start), separate(separate)
    {
    }

    void play(const char *wave, qint64 size, Mode mode) override
    {
        playing = mode != Mode::Sync;
        played.append(mode);
        lastWave = QByteArray(wave, int(size));
    }
    void stop() override
    {
        playing = false;
        ++stops;
    }
    bool hasSeparateLevels() const override { return separate; }
    Levels levels() const override { return current; }
    void setLevels(Levels levels) override { current = levels; }

    Levels current;
    bool separate;
    bool playing = false;
    int stops = 0;
    QList<Mode> played;
    QByteArray lastWave;
};
