// SPDX-License-Identifier: GPL-3.0-or-later
// Times the tone generator's synthesis: the cue tone, and a long tone with everything on.
#include "audio/TToneGen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SilentOutput : public SoundOutput
{
public:
    void play(const char *, qint64, Mode) override {}
    void stop() override {}
    bool hasSeparateLevels() const override { return true; }
    Levels levels() const override { return {}; }
    void setLevels(Levels) override {}
};

template <typename Build> double medianMs(int repeats, Build build)
{
    std::vector<double> runs;
    for (int r = 0; r < 5; ++r) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < repeats; ++i)
            build();
        runs.push_back(clock.nsecsElapsed() / 1e6 / repeats);
    }
    std::sort(runs.begin(), runs.end());
    return runs[2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SilentOutput out;

    TToneGen cue(&out);
    cue.SetResolution(tg8Bit);
    cue.SetQuality(tgLoQ);
    cue.SetLeftVolume(50);
    cue.SetRightVolume(50);
    const double cueMs = medianMs(1000, [&] {
        cue.SetFrequency(440);
        cue.Play();
    });

    TToneGen full(&out);
    full.SetStereo(true);
    full.SetDuration(10000);
    const TTGWave waves[] = {tgSine, tgSquare, tgTriangle, tgSawtooth, tgNoise};
    for (int i = 0; i < kAMLevelCount; ++i)
        full.SetAMParameter(TTGAMLevel(i), 10, waves[i % 5], float(i + 1) / 2);
    const double fullMs = medianMs(1, [&] { full.PrepareADSR(); });

    const int before = cue.BuildCount();
    for (int i = 0; i < 1000; ++i)
        cue.Play();
    std::printf("cue tone build: %.4f ms\n", cueMs);
    std::printf("10 s, 96 kHz, 16-bit stereo, 8 AM levels, envelope: %.1f ms\n", fullMs);
    std::printf("builds during 1000 unchanged plays: %d\n", cue.BuildCount() - before);
    return 0;
}
