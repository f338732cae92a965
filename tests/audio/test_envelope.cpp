// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/Envelope.h"
#include "audio/TToneGen.h"
#include "support/FakeSoundOutput.h"

#include <QtEndian>
#include <QtTest>
#include <vector>

namespace {

// A 16-bit mono area of `frames` samples, all at `level`.
std::vector<quint8> constantArea(int frames, qint16 level)
{
    std::vector<quint8> area(size_t(frames) * 2 + 32);
    for (int f = 0; f < frames; ++f)
        qToLittleEndian(level, area.data() + 2 * f);
    return area;
}

int at(const std::vector<quint8> &area, int frame)
{
    return qFromLittleEndian<qint16>(area.data() + 2 * frame);
}

Envelope::Settings settings(int a, int h, int d, int level, int r)
{
    Envelope::Settings s;
    s.attack = a;
    s.hold = h;
    s.decay = d;
    s.sustainLevel = level;
    s.release = r;
    return s;
}

const SampleLayout kMono16 = SampleLayout::of(tg16Bit, tgHiQ, false);

} // namespace

class TestEnvelope : public QObject
{
    Q_OBJECT

private slots:
    void sharesOverAHundredAreRescaledAndLeaveNoSustain()
    {
        const Envelope::Shares s = Envelope::shares(settings(60, 30, 30, 50, 30));
        QCOMPARE(QList<int>({s.attack, s.hold, s.decay, s.release, s.sustain}),
                 QList<int>({40, 20, 20, 20, 0}));
        // Rounding down leaves the remainder to the release.
        const Envelope::Shares t = Envelope::shares(settings(33, 33, 33, 50, 33));
        QCOMPARE(QList<int>({t.attack, t.hold, t.decay, t.release, t.sustain}),
                 QList<int>({25, 25, 25, 25, 0}));
    }

    void rescaledEnvelopeRisesHoldsFallsAndReleasesToSilence()
    {
        std::vector<quint8> area = constantArea(1000, 1000);
        Envelope::apply(area.data(), 2000, kMono16, settings(60, 30, 30, 50, 30));
        // Attack 400 frames covers 0..400, hold 401..601, decay 602..802, release 803..1000.
        QCOMPARE(at(area, 0), 0);
        QCOMPARE(at(area, 100), 250);
        QCOMPARE(at(area, 400), 1000);
        QCOMPARE(at(area, 601), 1000);
        QCOMPARE(at(area, 602), 1000);
        QCOMPARE(at(area, 702), 750);
        QCOMPARE(at(area, 802), 500);
        QCOMPARE(at(area, 803), 500);
        QCOMPARE(at(area, 999), 2);
        QCOMPARE(at(area, 1000), 0); // the slack is left alone
    }

    void withoutReleaseTheSustainRunsToTheEnd()
    {
        std::vector<quint8> area = constantArea(1000, -1000);
        Envelope::apply(area.data(), 2000, kMono16, settings(10, 0, 0, 50, 0));
        QCOMPARE(at(area, 50), -500);
        QCOMPARE(at(area, 100), -1000);
        QCOMPARE(at(area, 101), -500);
        QCOMPARE(at(area, 999), -500);
    }

    void aSustainWithinTheSharesGetsItsOwnLength()
    {
        std::vector<quint8> area = constantArea(1000, 1000);
        Envelope::apply(area.data(), 2000, kMono16, settings(0, 0, 0, 20, 50));
        // Sustain 50 % is frames 0..500, then the release from 20 % down.
        QCOMPARE(at(area, 0), 200);
        QCOMPARE(at(area, 500), 200);
        QCOMPARE(at(area, 501), 200);
        QCOMPARE(at(area, 750), 100);
    }

    void eightBitStereoIsShapedAroundTheMidLevelOnBothChannels()
    {
        const SampleLayout stereo8 = SampleLayout::of(tg8Bit, tgLoQ, true);
        std::vector<quint8> area(200 + 32, 0);
        for (int f = 0; f < 100; ++f) {
            area[2 * f] = 228; // +100 on the left
            area[2 * f + 1] = 0;
        }
        Envelope::apply(area.data(), 200, stereo8, settings(50, 0, 0, 50, 50));
        QCOMPARE(QList<int>({area[0], area[1]}), QList<int>({128, 128}));
        QCOMPARE(QList<int>({area[50], area[51]}), QList<int>({178, 178}));
        QCOMPARE(QList<int>({area[100], area[101]}), QList<int>({228, 228}));
        QCOMPARE(int(area[102]), 178); // release from 50 % at frame 51
    }

    void playADSRShapesTheToneAndPlayTakesItOffAgain()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetResolution(tg8Bit);
        gen.SetQuality(tgLoQ);
        gen.SetWaveform(tgSquare);
        gen.SetAttack(0);
        gen.SetHold(0);
        gen.SetDecay(0);
        gen.SetSustain(50);
        gen.SetRelease(0);
        gen.PlayADSR();
        const quint8 *b = gen.GetDataBuffer() + 44;
        // Halved square: -63 and +63 around 128.
        QCOMPARE(int(b[0]), 65);
        QCOMPARE(int(b[60]), 191);
        gen.Play();
        b = gen.GetDataBuffer() + 44;
        QCOMPARE(int(b[0]), 1);
    }
};

QTEST_GUILESS_MAIN(TestEnvelope)
#include "test_envelope.moc"
