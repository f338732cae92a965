// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/SampleLayout.h"
#include "platform/QtSoundOutput.h"

#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QtTest>

namespace {

// 100 ms of 8-bit mono silence as a complete wave image.
QByteArray shortTone()
{
    const SampleLayout layout = SampleLayout::of(tg8Bit, tgLoQ, false);
    return layout.waveHeader(4410) + QByteArray(4410, char(128));
}

} // namespace

// Runs against whatever the machine has: a real device, or (on a server) none at all.
// The program's own output is used, as its sinks outlive the test.
class TestQtSoundOutput : public QObject
{
    Q_OBJECT

private slots:
    void everyModePlaysAndStopsWithoutHanging()
    {
        const bool device = !QMediaDevices::defaultAudioOutput().isNull();
        qInfo() << "audio output:" << QMediaDevices::defaultAudioOutput().description();
        SoundOutput &output = SoundOutput::standard();
        const QByteArray tone = shortTone();
        QElapsedTimer clock;
        clock.start();
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Sync);
        // Only a wait without end is a fault here; a busy machine may take its time.
        QVERIFY(clock.elapsed() < 100 + QtSoundOutput::kSyncGraceMs + 5000);
        if (device)
            QVERIFY(clock.elapsed() >= 95);

        clock.restart();
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Async);
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Loop);
        QTest::qWait(150);
        output.stop();
        output.stop();
        QVERIFY(clock.elapsed() < 5000);
    }

    void somethingThatIsNoWaveIsIgnored()
    {
        const QByteArray junk(100, 'x');
        WaveStream::Format format;
        QVERIFY(!WaveStream::parse(junk.constData(), junk.size(), format));
        // No sound stream is opened for it, whether or not the machine has a device.
        QtSoundOutput output;
        output.play(junk.constData(), junk.size(), SoundOutput::Mode::Sync);
        output.play(junk.constData(), junk.size(), SoundOutput::Mode::Loop);
        output.play(nullptr, 0, SoundOutput::Mode::Async);
        QVERIFY(output.findChildren<QAudioSink *>().isEmpty());
        output.stop();
    }
};

QTEST_GUILESS_MAIN(TestQtSoundOutput)
#include "test_qt_sound_output.moc"
