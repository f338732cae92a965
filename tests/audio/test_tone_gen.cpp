// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/NoiseGenerator.h"
#include "audio/TToneGen.h"
#include "support/FakeSoundOutput.h"

#include <QtEndian>
#include <QtTest>

namespace {

// The measuring window's cue tone.
void setCueTone(TToneGen &gen)
{
    gen.SetResolution(tg8Bit);
    gen.SetQuality(tgLoQ);
    gen.SetLeftVolume(50);
    gen.SetRightVolume(50);
    for (int i = 0; i < kAMLevelCount; ++i)
        gen.SetAMParameter(TTGAMLevel(i), 0, tgSine, float(i + 1) / 2);
}

quint32 field32(const quint8 *buffer, int offset)
{
    return qFromLittleEndian<quint32>(buffer + offset);
}

quint16 field16(const quint8 *buffer, int offset)
{
    return qFromLittleEndian<quint16>(buffer + offset);
}

QByteArray samples(const TToneGen &gen)
{
    return QByteArray(reinterpret_cast<const char *>(gen.GetDataBuffer()) + 44,
                      int(gen.DataSize()));
}

// A full-scale 8-bit sawtooth starts every cycle at its lowest byte, 1.
QList<int> cycleStarts(const QByteArray &saw)
{
    QList<int> starts;
    for (int i = 0; i < saw.size(); ++i)
        if (quint8(saw[i]) == 1)
            starts.append(i);
    return starts;
}

// The lowest and highest byte of an 8-bit sample area.
QPair<int, int> byteRange(const QByteArray &area)
{
    int lo = 255, hi = 0;
    for (const char c : area) {
        lo = qMin(lo, int(quint8(c)));
        hi = qMax(hi, int(quint8(c)));
    }
    return {lo, hi};
}

} // namespace

class TestToneGen : public QObject
{
    Q_OBJECT

private slots:
    void cueToneBufferHasTheExactLayoutAndFirstSamples()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.Play();
        const quint8 *b = gen.GetDataBuffer();
        QVERIFY(b);
        QCOMPARE(gen.DataSize(), 4410);
        QCOMPARE(gen.BufferSize(), 4486);
        const QByteArray header(reinterpret_cast<const char *>(b), 44);
        QCOMPARE(header.left(16) + header.mid(36, 4),
                 QByteArray("RIFF\x5e\x11\0\0WAVEfmt data", 20));
        QCOMPARE(QList<quint32>({field32(b, 16), field16(b, 20), field16(b, 22), field32(b, 24),
                                 field32(b, 28), field16(b, 32), field16(b, 34), field32(b, 40)}),
                 QList<quint32>({16, 1, 1, 44100, 44100, 1, 8, 4410}));
        QCOMPARE(QList<int>({b[44], b[45], b[46], b[47]}), QList<int>({128, 135, 143, 151}));
        for (int i = 44 + 4410; i < 4486; ++i)
            QCOMPARE(int(b[i]), 128);
        QCOMPARE(out.played, QList<SoundOutput::Mode>{SoundOutput::Mode::Async});
        QCOMPARE(out.lastWave.size(), 4486);
        QCOMPARE(out.current, (SoundOutput::Levels{0x7FFF, 0x7FFF}));
        QVERIFY(!gen.Idle());
    }

    void cyclesAlternateAroundThePeriodAndEachSineCycleStartsAtTheZeroLevel()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.SetWaveform(tgSawtooth);
        QVERIFY(gen.Prepare());
        const QList<int> starts = cycleStarts(samples(gen));
        QList<int> lengths;
        for (int i = 1; i < starts.size(); ++i)
            lengths.append(starts[i] - starts[i - 1]);
        QCOMPARE(lengths.mid(0, 9), QList<int>({100, 100, 100, 100, 101, 100, 100, 100, 101}));
        QCOMPARE(starts.size(), 44); // 4410 samples hold exactly 44 cycles

        gen.SetWaveform(tgSine);
        QVERIFY(gen.Prepare());
        const QByteArray sine = samples(gen);
        for (const int start : starts)
            QCOMPARE(int(quint8(sine[start])), 128);
    }

    void hiQStereoSixteenBitCopiesTheLeftSampleToTheRight()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetStereo(true);
        gen.SetFrequency(480); // 200 samples a cycle, so one lands on the crest
        QVERIFY(gen.Prepare());
        const quint8 *b = gen.GetDataBuffer();
        QCOMPARE(gen.DataSize(), 38400);
        QCOMPARE(field16(b, 22), 2);
        QCOMPARE(field32(b, 24), 96000u);
        QCOMPARE(field32(b, 28), 384000u);
        QCOMPARE(field16(b, 32), 4);
        QCOMPARE(field16(b, 34), 16);
        qint16 peak = 0;
        for (int pos = 44; pos < 44 + 38400; pos += 4) {
            const qint16 left = qFromLittleEndian<qint16>(b + pos);
            QCOMPARE(qFromLittleEndian<qint16>(b + pos + 2), left);
            peak = qMax(peak, left);
        }
        QCOMPARE(peak, qint16(32767));
        for (int i = 44 + 38400; i < 44 + 38400 + 32; ++i)
            QCOMPARE(int(b[i]), 0);
    }

    void valuesOutsideTheirRangeAreClampedAlsoWhenALevelIsSelected()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetFrequency(10);
        QCOMPARE(gen.Frequency(), 20);
        gen.SetFrequency(25000);
        QCOMPARE(gen.Frequency(), 20000);
        gen.SetDuration(5);
        QCOMPARE(gen.Duration(), 10);
        gen.SetDuration(40000);
        QCOMPARE(gen.Duration(), 32767);
        gen.SetAttack(-1);
        gen.SetRelease(101);
        QCOMPARE(gen.Attack(), 0);
        QCOMPARE(gen.Release(), 100);
        gen.SetLeftVolume(-3);
        gen.SetRightVolume(250);
        QCOMPARE(out.current, (SoundOutput::Levels{0, 65535}));
        // Selecting a level shows its entries through the setters, which clamp them.
        gen.SetAMParameter(tgAMLevel3, 150, tgSquare, 2.25f);
        gen.SetAMLevel(tgAMLevel3);
        QCOMPARE(gen.AMAmplitude(), 100);
        QCOMPARE(gen.AMWaveform(), tgSquare);
        QCOMPARE(gen.AMFrequency(), 2.25f);
        gen.SetAMWaveform(tgNoise);
        gen.SetAMLevel(tgAMLevel1);
        QCOMPARE(gen.AMWaveform(), tgSine);
        gen.SetAMLevel(tgAMLevel3);
        QCOMPARE(gen.AMWaveform(), tgNoise);
        QCOMPARE(gen.AMAmplitude(), 100);
        gen.SetAMParameter(TTGAMLevel(11), 7, tgSquare, 1);
        gen.SetAMLevel(TTGAMLevel(-2));
        QCOMPARE(gen.AMLevel(), tgAMLevel1);
        gen.SetAMLevel(tgAMLevel8);
        QCOMPARE(gen.AMAmplitude(), 7);
    }

    void amLevelsTakeTheirShareAndTheMainOscillatorTheRest()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.SetWaveform(tgSquare);
        gen.SetAMUseMultiplier(false);
        // Levels at 0 Hz are silent, so the square shows the main oscillator's own share.
        gen.SetAMParameter(tgAMLevel2, 30, tgSine, 0);
        gen.SetAMParameter(tgAMLevel5, 20, tgSine, 0);
        QVERIFY(gen.Prepare());
        QCOMPARE(byteRange(samples(gen)), qMakePair(64, 191)); // +-63.5 truncated from 128

        // Over 100 % the main oscillator falls silent and the levels are scaled down: 90 -> 60.
        gen.SetAMParameter(tgAMLevel2, 90, tgSquare, 440);
        gen.SetAMParameter(tgAMLevel5, 60, tgSine, 0);
        QVERIFY(gen.Prepare());
        QCOMPARE(byteRange(samples(gen)), qMakePair(51, 204));
    }

    void multipliedLevelFrequenciesAreClampedAndPlainOnesAreNot()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.SetWaveform(tgSawtooth);
        gen.SetAMParameter(tgAMLevel1, 100, tgSawtooth, 0.01f); // 4.4 Hz -> 20 Hz
        QVERIFY(gen.Prepare());
        QCOMPARE(cycleStarts(samples(gen)), QList<int>({0, 2205}));

        gen.SetAMUseMultiplier(false);
        gen.SetAMParameter(tgAMLevel1, 100, tgSawtooth, 10.9f); // 10 Hz, a single cycle
        QVERIFY(gen.Prepare());
        QCOMPARE(cycleStarts(samples(gen)), QList<int>({0}));

        // Faster than the sample rate, or not a number: nothing is added.
        for (const float hz : {50000.0f, std::numeric_limits<float>::quiet_NaN()}) {
            gen.SetAMParameter(tgAMLevel1, 100, tgSawtooth, hz);
            QVERIFY(gen.Prepare());
            QCOMPARE(samples(gen), QByteArray(4410, char(128)));
        }
    }

    void noiseIsTheSameInEveryBuildAndLeavesOtherRandomNumbersAlone()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.SetWaveform(tgNoise);
        NoiseGenerator::setState(4242);
        QVERIFY(gen.Prepare());
        QCOMPARE(NoiseGenerator::state(), 4242u);
        const QByteArray first = samples(gen);
        // state 1 -> 134775814; its high part of 134775814 * 255 is 8; 8 - 127 + 128 = 9
        QCOMPARE(int(quint8(first[0])), 9);
        NoiseGenerator::next(1000);
        QVERIFY(gen.Prepare());
        QCOMPARE(samples(gen), first);
        QCOMPARE(byteRange(first).first >= 1 && byteRange(first).second <= 255, true);
    }

    void theOtherWaveformsRiseAndFallAsDrawn()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        gen.SetFrequency(441); // exactly 100 samples a cycle
        gen.SetWaveform(tgTriangle);
        QVERIFY(gen.Prepare());
        QByteArray s = samples(gen);
        // From -127 up by 254 / 50 for half a cycle, then back down to the bottom.
        QCOMPARE(int(quint8(s[0])), 1);
        QCOMPARE(int(quint8(s[1])), 7);
        QCOMPARE(int(quint8(s[50])), 254); // fifty added steps fall just short of 127
        QCOMPARE(int(quint8(s[99])), 7);
        QCOMPARE(int(quint8(s[100])), 1);

        gen.SetWaveform(tgSquare);
        QVERIFY(gen.Prepare());
        s = samples(gen);
        QCOMPARE(int(quint8(s[49])), 1);
        QCOMPARE(int(quint8(s[50])), 255);
        QCOMPARE(int(quint8(s[100])), 1);
    }

    void playBuildsOnlyWhenSomethingChanged()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        setCueTone(gen);
        for (int i = 0; i < 100; ++i)
            gen.Play();
        QCOMPARE(gen.BuildCount(), 1);
        QCOMPARE(out.played.size(), 100);
        QVERIFY(!gen.Dirty() && gen.EnvelopeDirty() && !gen.HasEnvelope());

        gen.PlayADSR();
        gen.PlayADSR();
        QCOMPARE(gen.BuildCount(), 2);
        QVERIFY(!gen.Dirty() && !gen.EnvelopeDirty() && gen.HasEnvelope());
        gen.Play(); // the enveloped buffer is not the plain one
        QCOMPARE(gen.BuildCount(), 3);
        gen.SetAttack(40); // the plain buffer has no envelope to be out of date
        gen.Play();
        QCOMPARE(gen.BuildCount(), 3);
        gen.PlayADSR();
        gen.SetSustain(80);
        gen.PlayADSR();
        QCOMPARE(gen.BuildCount(), 5);
        gen.SetLeftVolume(10);
        gen.SetAsync(false);
        gen.PlayADSR();
        QCOMPARE(gen.BuildCount(), 5);
        gen.SetStereo(false); // setting a tone property marks it changed, even to its value
        gen.PlayADSR();
        QCOMPARE(gen.BuildCount(), 6);
    }

    void playbackModeFollowsLoopAndAsyncAndARebuildStopsIt()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetLoop(true);
        gen.Play();
        QVERIFY(!gen.Idle());
        gen.SetLoop(false);
        gen.SetAsync(false);
        gen.Play();
        QVERIFY(gen.Idle());
        gen.SetAsync(true);
        gen.Play();
        QVERIFY(!gen.Idle() && out.playing);
        gen.Stop();
        QVERIFY(gen.Idle() && !out.playing);
        using M = SoundOutput::Mode;
        QCOMPARE(out.played, QList<M>({M::Loop, M::Sync, M::Async}));
        gen.Play();
        gen.SetFrequency(880); // a rebuild never leaves the player reading the old buffer
        QVERIFY(gen.Prepare());
        QVERIFY(gen.Idle() && !out.playing);
    }

    void aVolumeChangeWaitsForTheNextStartWhilePlaying()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.Play();
        gen.SetLeftVolume(20);
        QCOMPARE(out.current, (SoundOutput::Levels{65535, 65535}));
        gen.SetLoading(true);
        gen.SetRightVolume(40);
        QCOMPARE(out.current, (SoundOutput::Levels{13107, 26214}));
        gen.SetLoading(false);
        gen.SetRightVolume(60);
        QCOMPARE(out.current.right, 26214);
        gen.Play();
        QCOMPARE(out.current, (SoundOutput::Levels{13107, 39321}));
        gen.Stop();
        gen.SetLeftVolume(0);
        QCOMPARE(out.current.left, 0);
    }

    void theLastGeneratorRestoresTheVolumeTheFirstFound()
    {
        FakeSoundOutput out({1000, 2000});
        {
            TToneGen first(&out);
            QCOMPARE(TToneGen::InstanceCount(), 1);
            QCOMPARE(out.current, (SoundOutput::Levels{65535, 65535}));
            auto second = std::make_unique<TToneGen>(&out);
            second->SetLeftVolume(50);
            QCOMPARE(TToneGen::InstanceCount(), 2);
            second.reset();
            QCOMPARE(out.current, (SoundOutput::Levels{32767, 65535}));
        }
        QCOMPARE(TToneGen::InstanceCount(), 0);
        QCOMPARE(out.current, (SoundOutput::Levels{1000, 2000}));

        FakeSoundOutput mono({1234, 0}, false);
        {
            TToneGen gen(&mono);
        }
        QCOMPARE(mono.current, (SoundOutput::Levels{1234, 1234}));
    }
};

QTEST_GUILESS_MAIN(TestToneGen)
#include "test_tone_gen.moc"
