#pragma once

#include "platform/SoundOutput.h"
#include "platform/WaveStream.h"

#include <QAudioDevice>
#include <QObject>
#include <memory>

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

private:
    void playAsync(const char *wave, const WaveStream::Format &format, bool loop,
                   const QAudioDevice &device);
    void playSync(const char *wave, const WaveStream::Format &format,
                  const QAudioDevice &device) const;

    std::unique_ptr<QAudioSink> m_sink;
    WaveStream m_stream;
    Levels m_levels;
};
