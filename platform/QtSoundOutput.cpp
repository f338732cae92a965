#include "platform/QtSoundOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QEventLoop>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

namespace {

// The stream always hands stereo frames to the device so that each channel has its level.
QAudioFormat audioFormat(const WaveStream::Format &format)
{
    QAudioFormat audio;
    audio.setSampleRate(format.sampleRate);
    audio.setChannelCount(2);
    audio.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return audio;
}

} // namespace

SoundOutput &SoundOutput::standard()
{
    // Never destroyed: a sink must not outlive the application object it was made under.
    static QtSoundOutput *output = new QtSoundOutput;
    return *output;
}

QtSoundOutput::QtSoundOutput(QObject *parent) : QObject(parent), m_stream(this) {}

QtSoundOutput::~QtSoundOutput()
{
    stop();
}

void QtSoundOutput::play(const char *wave, qint64 size, Mode mode)
{
    stop();
    WaveStream::Format format;
    if (!WaveStream::parse(wave, size, format) || format.frames() == 0)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    if (mode == Mode::Sync)
        playSync(wave, format, device);
    else
        playAsync(wave, format, mode == Mode::Loop, device);
}

void QtSoundOutput::playAsync(const char *wave, const WaveStream::Format &format, bool loop,
                              const QAudioDevice &device)
{
    m_stream.start(wave, format, loop);
    m_stream.setLevels(m_levels.left, m_levels.right);
    // Left running when the stream ends: the device still plays what it holds, and the
    // next play() or stop() ends the sink.
    m_sink = std::make_unique<QAudioSink>(device, audioFormat(format));
    m_sink->start(&m_stream);
}

// The sink needs an event loop to be fed; a thread of its own gives it one while the
// caller waits, so that nothing else of the program runs during a synchronous sound.
void QtSoundOutput::playSync(const char *wave, const WaveStream::Format &format,
                             const QAudioDevice &device) const
{
    const Levels levels = m_levels;
    std::unique_ptr<QThread> thread(QThread::create([=] {
        WaveStream stream;
        stream.start(wave, format, false);
        stream.setLevels(levels.left, levels.right);
        QAudioSink sink(device, audioFormat(format));
        // The sink turns idle once it holds the last samples, before they are heard; the
        // played time tells when the tone is over.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (sink.state() == QAudio::StoppedState ||
                sink.processedUSecs() >= format.durationMs() * 1000)
                loop.quit();
        });
        poll.start(kSyncPollMs);
        QTimer::singleShot(int(format.durationMs()) + kSyncGraceMs, &loop, &QEventLoop::quit);
        sink.start(&stream);
        if (sink.state() != QAudio::StoppedState)
            loop.exec();
        sink.stop();
    }));
    thread->start();
    thread->wait();
}

void QtSoundOutput::stop()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
    m_stream.close();
}

void QtSoundOutput::setLevels(Levels levels)
{
    m_levels = levels;
    m_stream.setLevels(levels.left, levels.right);
}
