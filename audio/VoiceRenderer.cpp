// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/VoiceRenderer.h"

#include "audio/NoiseGenerator.h"

#include <QtEndian>
#include <cmath>
#include <vector>

namespace {

struct Oscillator
{
    TTGWave waveform;
    double peakToPeak; // P
    double low;        // Lo
    double per;
    qint64 half;
    double ramp = 0; // V
    double step = 0; // d
    std::vector<double> sine;

    Oscillator(const VoiceRenderer::Voice &voice, const SampleLayout &layout)
        : waveform(voice.waveform)
    {
        const double l = voice.share;
        peakToPeak = layout.eightBit() ? (l * 254) / 100 : (l * 65534) / 100;
        low = layout.eightBit() ? (-127 * l) / 100 : (-32767 * l) / 100;
        per = layout.sampleRate / voice.frequency;
        half = qint64(std::trunc(per + 0.5)) / 2;
        setUp(firstCycle());
    }

    qint64 firstCycle() const { return qint64(std::trunc(per)); }

    void setUp(qint64 n)
    {
        ramp = low;
        switch (waveform) {
        case tgSine:
            fillSineTable(n);
            break;
        case tgSquare:
            peakToPeak /= 2;
            break;
        case tgTriangle:
            step = half > 0 ? peakToPeak / half : 0;
            break;
        case tgSawtooth:
            step = peakToPeak / n;
            break;
        case tgNoise:
            break;
        }
    }

    // The step angle comes from the first cycle only; later cycles are at most one sample
    // longer, so the table covers every index.
    void fillSineTable(qint64 n)
    {
        const double angle = 2 * M_PI / n;
        sine.resize(size_t(n) + 2);
        for (size_t j = 0; j < sine.size(); ++j)
            sine[j] = std::trunc(std::sin(j * angle) / 2 * peakToPeak);
    }

    double value(qint64 j)
    {
        double v = 0;
        switch (waveform) {
        case tgSine:
            return sine[size_t(j)];
        case tgSquare:
            return j < half ? low : peakToPeak;
        case tgTriangle:
            v = std::trunc(ramp);
            if (j < half) {
                ramp += step;
            } else {
                ramp -= step;
                if (ramp < low)
                    ramp = low;
            }
            return v;
        case tgSawtooth:
            v = std::trunc(ramp);
            ramp += step;
            return v;
        case tgNoise:
            return double(NoiseGenerator::next(quint32(qint64(std::trunc(peakToPeak + 1))))) + low;
        }
        return 0;
    }

    void endCycle() { ramp = low; }
};

void addSample(quint8 *frame, const SampleLayout &layout, double v)
{
    if (layout.eightBit()) {
        frame[0] = quint8(int(frame[0]) - 128 + qint64(std::trunc(128 + v)));
        if (layout.channels == 2)
            frame[1] = frame[0];
        return;
    }
    const qint16 sample = qint16(qFromLittleEndian<qint16>(frame) + qint64(std::trunc(v)));
    qToLittleEndian(sample, frame);
    if (layout.channels == 2)
        qToLittleEndian(sample, frame + 2);
}

} // namespace

void VoiceRenderer::render(quint8 *area, qint64 dataSize, const SampleLayout &layout,
                           const Voice &voice)
{
    if (voice.share <= 0 || !(voice.frequency > 0) || voice.frequency > layout.sampleRate)
        return;
    Oscillator osc(voice, layout);
    qint64 n = osc.firstCycle();
    qint64 j = 0;
    qint64 k = 1;
    for (qint64 pos = 0; pos < dataSize; pos += layout.frameBytes()) {
        addSample(area + pos, layout, osc.value(j));
        if (++j == n) {
            j = 0;
            osc.endCycle();
            ++k;
            n = qint64(std::trunc(k * osc.per - std::trunc((k - 1) * osc.per)));
        }
    }
}
