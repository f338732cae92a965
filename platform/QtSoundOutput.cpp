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

QtSoundOutput::QtSoundOutput(QObject *parent) : QObject(parent)
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &QtSoundOutput::waitUntilQuiet);
}

void QtSoundOutput::waitUntilQuiet()
{
    halt();
    if (m_sinceActivity.isValid() && m_sinceActivity.elapsed() < kQuietMs)
        QThread::msleep(kQuietMs - m_sinceActivity.elapsed());
}

QtSoundOutput::~QtSoundOutput()
{
    halt();
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

// A sound server may hold a second or more before it is heard. A sound therefore follows
// the previous one in the same open stream, and a stream closes only after a tail of silence
// longer than the server's buffer, so that closing it never cuts a sound short.
void QtSoundOutput::playAsync(const char *wave, const WaveStream::Format &format, bool loop,
                              const QAudioDevice &device)
{
    m_sinceActivity.start();
    if (m_stream && m_stream->follow(wave, format, loop))
        return;
    m_sink = new QAudioSink(device, audioFormat(format), this);
    m_stream = new WaveStream(m_sink);
    m_stream->start(wave, format, loop);
    m_stream->setLevels(m_levels.left, m_levels.right);
    m_stream->setTail(qint64(format.sampleRate) * kTailMs / 1000);
    m_playing.append(m_sink);
    closeWhenHeard(m_sink, m_stream);
    m_sink->start(m_stream);
    const qint64 buffered = m_sink->bufferSize() / (2 * format.bytesPerSample());
    m_stream->setTail(buffered + qint64(format.sampleRate) * kTailMs / 1000);
}

void QtSoundOutput::closeWhenHeard(QAudioSink *sink, WaveStream *stream)
{
    connect(sink, &QAudioSink::stateChanged, this, [=](QAudio::State state) {
        if (state == QAudio::ActiveState || (state == QAudio::IdleState && !stream->atEnd()))
            return;
        if (sink == m_sink) {
            m_sink = nullptr;
            m_stream = nullptr;
        }
        // Not from within the sink's own signal.
        QMetaObject::invokeMethod(
            this,
            [=] {
                if (m_playing.contains(sink))
                    retire(sink);
            },
            Qt::QueuedConnection);
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
    m_playing.removeAll(sink);
    sink->disconnect(this);
    sink->stop();
    QTimer::singleShot(kRetireMs, sink, &QObject::deleteLater);
}

void QtSoundOutput::stop()
{
    if (m_stream)
        m_stream->fadeOut();
}

// Every sink closed at once, whatever it still plays: the output is going away.
void QtSoundOutput::halt()
{
    m_sink = nullptr;
    m_stream = nullptr;
    for (QAudioSink *sink : QList<QAudioSink *>(m_playing))
        retire(sink);
}

void QtSoundOutput::setLevels(Levels levels)
{
    m_levels = levels;
    if (m_stream)
        m_stream->setLevels(levels.left, levels.right);
}
