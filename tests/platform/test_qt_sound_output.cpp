#include "platform/QtSoundOutput.h"

#include <QElapsedTimer>
#include <QMediaDevices>
#include <QtEndian>
#include <QtTest>

namespace {

// 100 ms of 8-bit mono silence as a complete wave image.
QByteArray shortTone()
{
    const int samples = 4410;
    QByteArray image(44 + samples, char(128));
    image.replace(0, 4, "RIFF");
    qToLittleEndian<quint32>(36 + samples, image.data() + 4);
    image.replace(8, 8, "WAVEfmt ");
    qToLittleEndian<quint32>(16, image.data() + 16);
    qToLittleEndian<quint16>(1, image.data() + 20);
    qToLittleEndian<quint16>(1, image.data() + 22);
    qToLittleEndian<quint32>(44100, image.data() + 24);
    qToLittleEndian<quint32>(44100, image.data() + 28);
    qToLittleEndian<quint16>(1, image.data() + 32);
    qToLittleEndian<quint16>(8, image.data() + 34);
    image.replace(36, 4, "data");
    qToLittleEndian<quint32>(samples, image.data() + 40);
    return image;
}

} // namespace

// Runs against whatever the machine has: a real device, or (on a server) none at all.
class TestQtSoundOutput : public QObject
{
    Q_OBJECT

private slots:
    void everyModePlaysAndStopsWithoutBlockingLongerThanTheTone()
    {
        const bool device = !QMediaDevices::defaultAudioOutput().isNull();
        qInfo() << "audio output:" << QMediaDevices::defaultAudioOutput().description();
        QtSoundOutput output;
        const QByteArray tone = shortTone();
        QElapsedTimer clock;
        clock.start();
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Sync);
        QVERIFY(clock.elapsed() < 100 + QtSoundOutput::kSyncGraceMs + 200);
        if (device)
            QVERIFY(clock.elapsed() >= 95);

        clock.restart();
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Async);
        output.play(tone.constData(), tone.size(), SoundOutput::Mode::Loop);
        QTest::qWait(150);
        output.stop();
        output.stop();
        QVERIFY(clock.elapsed() < 1000);
    }

    void somethingThatIsNoWaveIsIgnored()
    {
        QtSoundOutput output;
        const QByteArray junk(100, 'x');
        output.play(junk.constData(), junk.size(), SoundOutput::Mode::Sync);
        output.play(nullptr, 0, SoundOutput::Mode::Loop);
        output.stop();
    }

    void theProgramsOwnLevelsAreKeptPerChannel()
    {
        QtSoundOutput output;
        QVERIFY(output.hasSeparateLevels());
        QCOMPARE(output.levels(), (SoundOutput::Levels{65535, 65535}));
        output.setLevels({32767, 0});
        QCOMPARE(output.levels(), (SoundOutput::Levels{32767, 0}));
    }
};

QTEST_GUILESS_MAIN(TestQtSoundOutput)
#include "test_qt_sound_output.moc"
