// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SoundOutput.h"
#include "platform/WaveStream.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

class QAudioSink;

// Sound through Qt Multimedia. The level is that of this program's stream only; the
// desktop's volume is never touched. Without an audio device every call does nothing.
class QtSoundOutput : public QObject, public SoundOutput
{
    Q_OBJECT

public:
    explicit QtSoundOutput(QObject *parent = nullptr);
    ~QtSoundOutput() override;

    void play(const char *wave, qint64 size, Mode mode) override;
    void stop() override;
    bool hasSeparateLevels() const override { return true; }
    Levels levels() const override { return m_levels; }
    void setLevels(Levels levels) override;

    // A stuck device never holds a synchronous play longer than the tone plus this.
    static constexpr int kSyncGraceMs = 500;
    static constexpr int kSyncPollMs = 5;
    // Silence played after a sound before its sink closes, beyond the sink's own buffer: the
    // server's output may hold up to two seconds more (PulseAudio's longest default latency),
    // and closing the sink drops whatever the server still holds.
    static constexpr int kTailMs = 3000;
    // The sound library may still call into a sink shortly after it was stopped, so a
    // stopped sink is deleted only this much later.
    static constexpr int kRetireMs = 3000;
    // The sound library's own teardown at exit can crash while a stream is still being
    // closed; the program's end waits until the last sound activity is this long past.
    static constexpr int kQuietMs = 300;

private:
    void playAsync(const char *wave, const WaveStream::Format &format, bool loop,
                   const QAudioDevice &device);
    void playSync(const char *wave, const WaveStream::Format &format, const QAudioDevice &device);
    void closeWhenHeard(QAudioSink *sink, WaveStream *stream);
    void retire(QAudioSink *sink);
    void halt();
    void waitUntilQuiet();

    // The sink of the latest sound; sinks of earlier ones may still be playing their tails.
    QAudioSink *m_sink = nullptr;
    WaveStream *m_stream = nullptr;
    QList<QAudioSink *> m_playing;
    QElapsedTimer m_sinceActivity;
    Levels m_levels;
};
