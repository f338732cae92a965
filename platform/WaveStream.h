// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <atomic>

// Reads the samples of an in-memory PCM wave image as stereo frames scaled by the program's
// own channel levels. The image itself is only read.
class WaveStream : public QIODevice
{
    Q_OBJECT

public:
    struct Format
    {
        int channels = 0;
        int sampleRate = 0;
        int bitsPerSample = 0;
        qint64 dataOffset = 0;
        qint64 dataSize = 0;

        int bytesPerSample() const { return bitsPerSample / 8; }
        qint64 frames() const { return dataSize / (qint64(channels) * bytesPerSample()); }
        qint64 durationMs() const { return sampleRate > 0 ? frames() * 1000 / sampleRate : 0; }
    };

    // Finds the "fmt " and "data" chunks; only 8- and 16-bit PCM, mono or stereo, is accepted.
    static bool parse(const char *wave, qint64 size, Format &format);

    explicit WaveStream(QObject *parent = nullptr);

    void start(const char *wave, const Format &format, bool loop);
    // Plays the next sound in the same stream once the current one has ended or faded out;
    // false when its samples would need another output format.
    bool follow(const char *wave, const Format &format, bool loop);
    // Stops the sound without a click: what is still ahead fades out over kFadeMs.
    void fadeOut();
    // Silence read after the last sound before the stream ends. A sound server that buffers
    // plays what it holds of the sound while it takes this; closing the stream then cuts
    // nothing that is heard.
    void setTail(qint64 frames);
    static constexpr int kFadeMs = 5;
    // Levels from 0 to 65535 for the left and right channel; may change while playing.
    void setLevels(quint16 left, quint16 right);

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    struct Sound
    {
        const char *samples = nullptr;
        Format format;
        bool loop = false;
    };

    int outputFrameBytes() const { return 2 * m_format.bytesPerSample(); }
    bool soundEnded() const;
    void begin(const Sound &sound);
    void putFrame(char *out, double fade);
    void putSilence(char *out) const;
    int scaled(const char *sample, double gain) const;
    void putSample(char *out, int value) const;

    const char *m_samples = nullptr;
    Format m_format;
    bool m_loop = false;
    qint64 m_frame = 0;
    // Frames left of a fade-out; -1 while the sound plays on.
    qint64 m_fade = -1;
    qint64 m_tail = 0;
    qint64 m_tailRead = 0;
    Sound m_next;
    std::atomic<double> m_leftGain{1.0};
    std::atomic<double> m_rightGain{1.0};
};
