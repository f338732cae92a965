// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtSoundOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
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
    // Never destroyed: sinks must not be deleted while the program ends.
    static QtSoundOutput *output = new QtSoundOutput;
    return *output;
}

QtSoundOutput::QtSoundOutput(QObject *parent) : QObject(parent), m_stream(this)
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &QtSoundOutput::waitUntilQuiet);
}

void QtSoundOutput::waitUntilQuiet()
{
    stop();
    if (m_sinceActivity.isValid() && m_sinceActivity.elapsed() < kQuietMs)
        QThread::msleep(kQuietMs - m_sinceActivity.elapsed());
}

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
    m_sink = new QAudioSink(device, audioFormat(format), this);
    m_sinceActivity.start();
    closeWhenPlayed(m_sink, format.durationMs() * 1000);
    m_sink->start(&m_stream);
}

// The sink turns idle once it holds the last samples, before they are heard: it is closed
// only when the played time has reached the end.
void QtSoundOutput::closeWhenPlayed(QAudioSink *sink, qint64 durationUs)
{
    const int generation = m_generation;
    connect(sink, &QAudioSink::stateChanged, this, [=](QAudio::State state) {
        if (generation != m_generation || state != QAudio::IdleState || !m_stream.atEnd())
            return;
        const qint64 leftMs = qMax<qint64>(0, durationUs - sink->processedUSecs()) / 1000;
        QTimer::singleShot(int(leftMs) + kCloseDelayMs, this, [this, generation] {
            if (generation == m_generation)
                stop();
        });
    });
}

// The sink needs an event loop to be fed; a thread of its own gives it one while the
// caller waits, so that nothing else of the program runs during a synchronous sound.
void QtSoundOutput::playSync(const char *wave, const WaveStream::Format &format,
                             const QAudioDevice &device)
{
    const Levels levels = m_levels;
    QThread *caller = QThread::currentThread();
    QAudioSink *played = nullptr;
    std::unique_ptr<QThread> thread(QThread::create([=, &played] {
        WaveStream stream;
        stream.start(wave, format, false);
        stream.setLevels(levels.left, levels.right);
        auto *sink = new QAudioSink(device, audioFormat(format));
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (sink->state() == QAudio::StoppedState ||
                sink->processedUSecs() >= format.durationMs() * 1000)
                loop.quit();
        });
        poll.start(kSyncPollMs);
        QTimer::singleShot(int(format.durationMs()) + kSyncGraceMs, &loop, &QEventLoop::quit);
        sink->start(&stream);
        if (sink->state() != QAudio::StoppedState)
            loop.exec();
        sink->stop();
        sink->moveToThread(caller);
        played = sink;
    }));
    thread->start();
    thread->wait();
    retire(played);
}

void QtSoundOutput::retire(QAudioSink *sink)
{
    m_sinceActivity.start();
    sink->disconnect(this);
    QTimer::singleShot(kRetireMs, sink, &QObject::deleteLater);
}

void QtSoundOutput::stop()
{
    ++m_generation;
    if (m_sink) {
        m_sink->stop();
        retire(m_sink);
        m_sink = nullptr;
    }
    m_stream.close();
}

void QtSoundOutput::setLevels(Levels levels)
{
    m_levels = levels;
    m_stream.setLevels(levels.left, levels.right);
}
