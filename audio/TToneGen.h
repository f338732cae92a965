// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/AMTables.h"
#include "audio/Envelope.h"
#include "audio/SampleLayout.h"
#include "audio/ToneTypes.h"
#include "platform/SoundOutput.h"

#include <QString>
#include <memory>

// A tone generator: a main oscillator plus up to eight further ones, optionally shaped by an
// envelope, synthesised into an in-memory wave file and played from there. The wave is built
// again only when a setting has changed since the last build.
class TToneGen
{
public:
    // Without an output the program's sound output is used.
    explicit TToneGen(SoundOutput *output = nullptr);
    ~TToneGen();
    TToneGen(const TToneGen &) = delete;
    TToneGen &operator=(const TToneGen &) = delete;

    int Frequency() const { return m_frequency; }
    void SetFrequency(int hz);
    int Duration() const { return m_duration; }
    void SetDuration(int ms);
    TTGWave Waveform() const { return m_waveform; }
    void SetWaveform(TTGWave wave);
    int Attack() const { return m_envelope.attack; }
    void SetAttack(int percent);
    int Hold() const { return m_envelope.hold; }
    void SetHold(int percent);
    int Decay() const { return m_envelope.decay; }
    void SetDecay(int percent);
    int Sustain() const { return m_envelope.sustainLevel; }
    void SetSustain(int percent);
    int Release() const { return m_envelope.release; }
    void SetRelease(int percent);
    bool Async() const { return m_async; }
    void SetAsync(bool async) { m_async = async; }
    bool Loop() const { return m_loop; }
    void SetLoop(bool loop) { m_loop = loop; }
    TTGResolution Resolution() const { return m_resolution; }
    void SetResolution(TTGResolution resolution);
    TTGQuality Quality() const { return m_quality; }
    void SetQuality(TTGQuality quality);
    int LeftVolume() const { return m_leftVolume; }
    void SetLeftVolume(int percent);
    int RightVolume() const { return m_rightVolume; }
    void SetRightVolume(int percent);
    bool Stereo() const { return m_stereo; }
    void SetStereo(bool stereo);

    // The level whose entries AMAmplitude, AMWaveform and AMFrequency show and edit.
    TTGAMLevel AMLevel() const { return m_amLevel; }
    void SetAMLevel(TTGAMLevel level);
    int AMAmplitude() const { return m_amAmplitude; }
    void SetAMAmplitude(int percent);
    TTGWave AMWaveform() const { return m_amWaveform; }
    void SetAMWaveform(TTGWave wave);
    float AMFrequency() const { return m_amFrequency; }
    void SetAMFrequency(float frequency);
    bool AMUseMultiplier() const { return m_amUseMultiplier; }
    void SetAMUseMultiplier(bool use);

    void Play();
    void PlayADSR();
    void Stop();
    void PresetVolume();
    bool Prepare();
    bool PrepareADSR();
    void ResetAM();
    void SetAMParameter(TTGAMLevel level, qint16 amplitude, TTGWave wave, float frequency);
    const quint8 *GetDataBuffer() const { return m_buffer.get(); }
    qint64 BufferSize() const { return m_bufferSize; }
    qint64 DataSize() const { return m_dataSize; }

    // Note names for the main oscillator and for each level, in the octave given before.
    int Octave() const { return m_octave; }
    void SetOctave(int octave);
    int AMOctave(TTGAMLevel level) const { return m_amOctaves[validLevel(level)]; }
    void SetAMOctave(TTGAMLevel level, int octave);
    // The frequency set, or 0 when the text is no note (nothing changes then).
    int SetNote(const QString &note);
    // The value stored for the level (a multiplier or Hz), or 0 when the text is no note.
    float SetAMNote(TTGAMLevel level, const QString &note);

    // Writes the whole wave buffer; false before the first build or when writing fails.
    bool ExportFile(const QString &fileName) const;

    // The stored form of the eight levels, for the owner's saved settings.
    QByteArray WriteAMArrayData() const { return m_am.store(); }
    void ReadAMArrayData(const QByteArray &data);
    // While stored settings are being applied the volume takes effect at once, even during
    // playback.
    void SetLoading(bool loading) { m_loading = loading; }

    bool Dirty() const { return m_dirty; }
    bool EnvelopeDirty() const { return m_envelopeDirty; }
    bool HasEnvelope() const { return m_hasEnvelope; }
    bool Idle() const { return m_idle; }
    // How many wave buffers this generator has synthesised.
    int BuildCount() const { return m_buildCount; }
    static int InstanceCount() { return s_instanceCount; }

private:
    SampleLayout layout() const;
    bool BuildBuffer(bool withEnvelope);
    // A fresh buffer filled with the zero level and headed by the wave header.
    bool allocate(const SampleLayout &lay, qint64 dataSize);
    void renderVoices(quint8 *area) const;
    double amVoiceFrequency(int level) const;
    void StartPlayback();
    void applyVolumeIfIdle();
    void setEnvelopeValue(int &field, int percent);
    void markDirty() { m_dirty = true; }

    SoundOutput *m_output;
    int m_frequency = 440;
    int m_duration = 100;
    TTGWave m_waveform = tgSine;
    Envelope::Settings m_envelope;
    bool m_async = true;
    bool m_loop = false;
    TTGResolution m_resolution = tg16Bit;
    TTGQuality m_quality = tgHiQ;
    int m_leftVolume = 100;
    int m_rightVolume = 100;
    bool m_stereo = false;
    TTGAMLevel m_amLevel = tgAMLevel1;
    int m_amAmplitude = 0;
    TTGWave m_amWaveform = tgSine;
    float m_amFrequency = 0;
    bool m_amUseMultiplier = true;
    AMTables m_am;
    int m_octave = 4;
    std::array<int, kAMLevelCount> m_amOctaves;

    std::unique_ptr<quint8[]> m_buffer;
    qint64 m_bufferSize = 0;
    qint64 m_dataSize = 0;
    bool m_dirty = true;
    bool m_envelopeDirty = true;
    bool m_hasEnvelope = true;
    bool m_idle = true;
    bool m_loading = false;
    int m_buildCount = 0;

    static int s_instanceCount;
    static SoundOutput::Levels s_savedVolume;
};
