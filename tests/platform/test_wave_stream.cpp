// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SampleLayout.h"
#include "platform/WaveStream.h"

#include <QtEndian>
#include <QtTest>

namespace {

// A PCM wave image of the tone generator's layout with the given samples.
QByteArray waveImage(int channels, int bits, int rate, const QByteArray &samples)
{
    SampleLayout layout;
    layout.channels = channels;
    layout.bytesPerSample = bits / 8;
    layout.sampleRate = rate;
    return layout.waveHeader(samples.size()) + samples;
}

QByteArray int16s(std::initializer_list<qint16> values)
{
    QByteArray bytes;
    for (const qint16 v : values) {
        char raw[2];
        qToLittleEndian(v, raw);
        bytes.append(raw, 2);
    }
    return bytes;
}

} // namespace

class TestWaveStream : public QObject
{
    Q_OBJECT

private slots:
    void theFormatIsFoundPastOtherChunks()
    {
        QByteArray image = waveImage(2, 16, 96000, int16s({1, 2, 3, 4, 5}));
        image.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12));
        WaveStream::Format f;
        QVERIFY(WaveStream::parse(image.constData(), image.size(), f));
        QCOMPARE(f.channels, 2);
        QCOMPARE(f.bitsPerSample, 16);
        QCOMPARE(f.sampleRate, 96000);
        QCOMPARE(f.dataSize, 10);
        QCOMPARE(f.frames(), 2); // a partial frame is not played
    }

    void brokenOrUnsupportedImagesAreRefused()
    {
        WaveStream::Format f;
        const QByteArray good = waveImage(1, 8, 44100, "abc");
        QVERIFY(!WaveStream::parse(nullptr, 0, f));
        QVERIFY(!WaveStream::parse(good.constData(), 11, f));
        QByteArray noData = good;
        noData.replace(noData.indexOf("data"), 4, "junk");
        QVERIFY(!WaveStream::parse(noData.constData(), noData.size(), f));
        for (const auto &[channels, bits] : {std::pair{3, 8}, {1, 24}, {0, 16}}) {
            const QByteArray odd = waveImage(channels, bits, 44100, "abcd");
            QVERIFY(!WaveStream::parse(odd.constData(), odd.size(), f));
        }
        // A data chunk that claims more than there is plays only what is there.
        QByteArray cut = waveImage(1, 8, 44100, "abcdef");
        cut.chop(3);
        QVERIFY(WaveStream::parse(cut.constData(), cut.size(), f));
        QCOMPARE(f.dataSize, 3);
    }

    void monoEightBitBecomesStereoWithEachChannelsLevel()
    {
        const QByteArray image = waveImage(1, 8, 44100, QByteArray("\x80\xff\x00", 3));
        const QByteArray copy = image;
        WaveStream::Format f;
        QVERIFY(WaveStream::parse(image.constData(), image.size(), f));
        WaveStream stream;
        stream.start(image.constData(), f, false);
        stream.setLevels(65535, 32767);
        QCOMPARE(stream.bytesAvailable(), 6);
        const QByteArray out = stream.readAll();
        QCOMPARE(out, QByteArray("\x80\x80\xff\xbf\x00\x40", 6));
        QVERIFY(stream.atEnd());
        QCOMPARE(image, copy);
    }

    void sixteenBitStereoKeepsItsChannelsApart()
    {
        const QByteArray image = waveImage(2, 16, 96000, int16s({1000, -1000, 32767, -32768}));
        WaveStream::Format f;
        QVERIFY(WaveStream::parse(image.constData(), image.size(), f));
        WaveStream stream;
        stream.start(image.constData(), f, false);
        stream.setLevels(0, 65535);
        QCOMPARE(stream.readAll(), int16s({0, -1000, 0, -32768}));
    }

    void loopingWrapsAroundAndOnlyWholeFramesAreHandedOut()
    {
        const QByteArray image = waveImage(1, 16, 44100, int16s({1, 2, 3}));
        WaveStream::Format f;
        QVERIFY(WaveStream::parse(image.constData(), image.size(), f));
        WaveStream stream;
        stream.start(image.constData(), f, true);
        QCOMPARE(stream.read(4 * 7 + 3), int16s({1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 1, 1}));
        QVERIFY(!stream.atEnd());
        QCOMPARE(stream.read(4), int16s({2, 2}));
    }

    // What a sound server is handed: a sound that fades when stopped, the next sound right
    // after the current one, and silence before the stream ends.
    void stoppingFadesAndTheNextSoundFollowsBeforeTheTail_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("follow");
        QTest::newRow("played out") << false << false;
        QTest::newRow("stopped at frame 10") << true << false;
        QTest::newRow("next one following") << false << true;
        QTest::newRow("stopped, then the next") << true << true;
    }

    void stoppingFadesAndTheNextSoundFollowsBeforeTheTail()
    {
        QFETCH(bool, stop);
        QFETCH(bool, follow);
        // 8-bit at 1000 frames a second: 5 frames of fade, 100 of sound, 3 of tail.
        const QByteArray image = waveImage(1, 8, 1000, QByteArray(100, char(228)));
        WaveStream::Format f;
        QVERIFY(WaveStream::parse(image.constData(), image.size(), f));
        WaveStream stream;
        stream.start(image.constData(), f, false);
        stream.setTail(3);
        QByteArray out = stream.read(2 * 10);
        if (stop)
            stream.fadeOut();
        if (follow)
            QVERIFY(stream.follow(image.constData(), f, false));
        out += stream.readAll();
        QVERIFY(stream.atEnd());
        QByteArray left;
        for (int i = 0; i < out.size(); i += 2)
            left += out[i];
        // 100 falling to 0 in even steps.
        const QByteArray fade("\xd3\xc3\xb2\xa1\x91", 5);
        const QByteArray sound =
            stop ? QByteArray(10, char(228)) + fade : QByteArray(100, char(228));
        const QByteArray next = follow ? QByteArray(100, char(228)) : QByteArray();
        QCOMPARE(left, sound + next + QByteArray(3, char(128)));
        // Another format cannot follow in the same stream.
        const QByteArray other = waveImage(1, 16, 1000, QByteArray(4, 0));
        QVERIFY(WaveStream::parse(other.constData(), other.size(), f));
        QVERIFY(!stream.follow(other.constData(), f, false));
    }
};

QTEST_GUILESS_MAIN(TestWaveStream)
#include "test_wave_stream.moc"
