// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/TToneGen.h"

#include "audio/NoiseGenerator.h"
#include "audio/NoteName.h"
#include "audio/VoiceRenderer.h"

#include <QFile>
#include <cmath>
#include <cstring>
#include <new>

int TToneGen::s_instanceCount = 0;
SoundOutput::Levels TToneGen::s_savedVolume;

namespace {

constexpr int kMinFrequency = 20;
constexpr int kMaxFrequency = 20000;

SoundOutput::Levels levelsOf(int leftPercent, int rightPercent)
{
    return {quint16(leftPercent * 65535 / 100), quint16(rightPercent * 65535 / 100)};
}

} // namespace

TToneGen::TToneGen(SoundOutput *output) : m_output(output ? output : &SoundOutput::standard())
{
    m_amOctaves.fill(4);
    ResetAM();
    SetAMLevel(tgAMLevel1);
    if (s_instanceCount == 0) {
        s_savedVolume = m_output->levels();
        if (!m_output->hasSeparateLevels())
            s_savedVolume.right = s_savedVolume.left;
        PresetVolume();
    }
    ++s_instanceCount;
}

TToneGen::~TToneGen()
{
    Stop();
    m_buffer.reset();
    if (--s_instanceCount == 0)
        m_output->setLevels(s_savedVolume);
}

void TToneGen::SetFrequency(int hz)
{
    m_frequency = qBound(kMinFrequency, hz, kMaxFrequency);
    markDirty();
}

void TToneGen::SetDuration(int ms)
{
    m_duration = qBound(10, ms, 32767);
    markDirty();
}

void TToneGen::SetWaveform(TTGWave wave)
{
    m_waveform = wave;
    markDirty();
}

void TToneGen::setEnvelopeValue(int &field, int percent)
{
    field = qBound(0, percent, 100);
    m_envelopeDirty = true;
}

void TToneGen::SetAttack(int percent)
{
    setEnvelopeValue(m_envelope.attack, percent);
}

void TToneGen::SetHold(int percent)
{
    setEnvelopeValue(m_envelope.hold, percent);
}

void TToneGen::SetDecay(int percent)
{
    setEnvelopeValue(m_envelope.decay, percent);
}

void TToneGen::SetSustain(int percent)
{
    setEnvelopeValue(m_envelope.sustainLevel, percent);
}

void TToneGen::SetRelease(int percent)
{
    setEnvelopeValue(m_envelope.release, percent);
}

void TToneGen::SetResolution(TTGResolution resolution)
{
    m_resolution = resolution;
    markDirty();
}

void TToneGen::SetQuality(TTGQuality quality)
{
    m_quality = quality;
    markDirty();
}

void TToneGen::SetLeftVolume(int percent)
{
    m_leftVolume = qBound(0, percent, 100);
    applyVolumeIfIdle();
}

void TToneGen::SetRightVolume(int percent)
{
    m_rightVolume = qBound(0, percent, 100);
    applyVolumeIfIdle();
}

// During playback the new level waits for the next start, so a sounding tone keeps its level.
void TToneGen::applyVolumeIfIdle()
{
    if (m_idle || m_loading)
        PresetVolume();
}

void TToneGen::SetStereo(bool stereo)
{
    m_stereo = stereo;
    markDirty();
}

void TToneGen::SetAMLevel(TTGAMLevel level)
{
    level = validLevel(level);
    m_amLevel = level;
    SetAMAmplitude(m_am.amplitudes[level]);
    SetAMWaveform(m_am.waveforms[level]);
    SetAMFrequency(m_am.frequencies[level]);
    markDirty();
}

void TToneGen::SetAMAmplitude(int percent)
{
    m_amAmplitude = qBound(0, percent, 100);
    m_am.amplitudes[m_amLevel] = qint16(m_amAmplitude);
    markDirty();
}

void TToneGen::SetAMWaveform(TTGWave wave)
{
    m_amWaveform = wave;
    m_am.waveforms[m_amLevel] = wave;
    markDirty();
}

void TToneGen::SetAMFrequency(float frequency)
{
    m_amFrequency = frequency;
    m_am.frequencies[m_amLevel] = frequency;
    markDirty();
}

void TToneGen::SetAMUseMultiplier(bool use)
{
    m_amUseMultiplier = use;
    markDirty();
}

void TToneGen::ResetAM()
{
    m_am.reset();
    markDirty();
}

void TToneGen::SetAMParameter(TTGAMLevel level, qint16 amplitude, TTGWave wave, float frequency)
{
    level = validLevel(level);
    m_am.amplitudes[level] = amplitude;
    m_am.waveforms[level] = wave;
    m_am.frequencies[level] = frequency;
    markDirty();
}

void TToneGen::ReadAMArrayData(const QByteArray &data)
{
    m_am.load(data);
    markDirty();
}

void TToneGen::Play()
{
    if (m_dirty || m_hasEnvelope)
        BuildBuffer(false);
    StartPlayback();
}

void TToneGen::PlayADSR()
{
    if (m_dirty || m_envelopeDirty)
        BuildBuffer(true);
    StartPlayback();
}

void TToneGen::Stop()
{
    m_output->stop();
    m_idle = true;
}

void TToneGen::PresetVolume()
{
    m_output->setLevels(levelsOf(m_leftVolume, m_rightVolume));
}

bool TToneGen::Prepare()
{
    PresetVolume();
    return BuildBuffer(false);
}

bool TToneGen::PrepareADSR()
{
    PresetVolume();
    return BuildBuffer(true);
}

void TToneGen::StartPlayback()
{
    Stop();
    PresetVolume();
    if (m_buffer) {
        const SoundOutput::Mode mode = m_loop    ? SoundOutput::Mode::Loop
                                       : m_async ? SoundOutput::Mode::Async
                                                 : SoundOutput::Mode::Sync;
        m_output->play(reinterpret_cast<const char *>(m_buffer.get()), m_bufferSize, mode);
    }
    m_idle = !(m_async || m_loop);
}

SampleLayout TToneGen::layout() const
{
    return SampleLayout::of(m_resolution, m_quality, m_stereo);
}

bool TToneGen::BuildBuffer(bool withEnvelope)
{
    const NoiseGenerator::FixedSeed sameNoiseEveryTime;
    const SampleLayout lay = layout();
    // The player may still be reading the old buffer.
    Stop();
    if (!allocate(lay, lay.dataSize(m_duration)))
        return false;
    quint8 *area = m_buffer.get() + SampleLayout::kHeaderSize;
    renderVoices(area);
    m_envelopeDirty = true;
    m_dirty = false;
    m_hasEnvelope = false;
    if (withEnvelope) {
        Envelope::apply(area, m_dataSize, lay, m_envelope);
        m_envelopeDirty = false;
        m_hasEnvelope = true;
    }
    ++m_buildCount;
    return true;
}

bool TToneGen::allocate(const SampleLayout &lay, qint64 dataSize)
{
    m_buffer.reset();
    m_bufferSize = 0;
    m_dataSize = 0;
    const qint64 size = SampleLayout::kHeaderSize + dataSize + SampleLayout::kSlackSize;
    if (dataSize > 0)
        m_buffer.reset(new (std::nothrow) quint8[size_t(size)]);
    if (!m_buffer)
        return false;
    m_bufferSize = size;
    m_dataSize = dataSize;
    const QByteArray header = lay.waveHeader(dataSize);
    std::memset(m_buffer.get(), quint8(lay.fillValue()), size_t(size));
    std::memcpy(m_buffer.get(), header.constData(), size_t(header.size()));
    return true;
}

void TToneGen::renderVoices(quint8 *area) const
{
    const SampleLayout lay = layout();
    int sum = 0;
    for (const qint16 amplitude : m_am.amplitudes)
        sum += amplitude;
    VoiceRenderer::render(area, m_dataSize, lay, {100 - sum, double(m_frequency), m_waveform});
    for (int i = 0; i < kAMLevelCount; ++i) {
        const int share = sum > 100 ? m_am.amplitudes[i] * 100 / sum : m_am.amplitudes[i];
        VoiceRenderer::render(area, m_dataSize, lay,
                              {share, amVoiceFrequency(i), m_am.waveforms[i]});
    }
}

// Whole hertz; NaN and overflowing values come out as no frequency.
double TToneGen::amVoiceFrequency(int level) const
{
    const double value = m_am.frequencies[level];
    if (!std::isfinite(value))
        return 0;
    if (m_amUseMultiplier)
        return qBound<double>(kMinFrequency, std::trunc(value * m_frequency), kMaxFrequency);
    return std::trunc(value);
}

void TToneGen::SetOctave(int octave)
{
    m_octave = qBound(NoteName::kMinOctave, octave, NoteName::kMaxOctave);
}

void TToneGen::SetAMOctave(TTGAMLevel level, int octave)
{
    m_amOctaves[validLevel(level)] = qBound(NoteName::kMinOctave, octave, NoteName::kMaxOctave);
}

int TToneGen::SetNote(const QString &note)
{
    const NoteName::Result parsed = NoteName::parse(note, m_octave);
    if (parsed.frequency == 0)
        return 0;
    SetFrequency(parsed.frequency);
    m_octave = parsed.octave;
    return parsed.frequency;
}

float TToneGen::SetAMNote(TTGAMLevel level, const QString &note)
{
    level = validLevel(level);
    const NoteName::Result parsed = NoteName::parse(note, m_amOctaves[level]);
    if (parsed.frequency == 0)
        return 0;
    const float value =
        m_amUseMultiplier ? float(parsed.frequency) / float(m_frequency) : float(parsed.frequency);
    m_am.frequencies[level] = value;
    m_amOctaves[level] = parsed.octave;
    markDirty();
    return value;
}

bool TToneGen::ExportFile(const QString &fileName) const
{
    if (!m_buffer)
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 written = file.write(reinterpret_cast<const char *>(m_buffer.get()), m_bufferSize);
    const bool flushed = file.flush();
    file.close();
    return written == m_bufferSize && flushed && file.error() == QFileDevice::NoError;
}
