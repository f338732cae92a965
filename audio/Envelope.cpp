// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/Envelope.h"

#include <QtEndian>
#include <cmath>

namespace {

class SegmentWriter
{
public:
    SegmentWriter(quint8 *area, qint64 dataSize, const SampleLayout &layout)
        : m_area(area), m_layout(layout), m_frames(dataSize / layout.frameBytes())
    {
    }

    qint64 remaining() const { return m_frames - m_next; }

    // A segment of length n covers frames q = 0 ... n; the next one starts after it.
    template <typename Shape> void segment(qint64 n, Shape shape)
    {
        for (qint64 q = 0; q <= n; ++q) {
            const qint64 frame = m_next + q;
            if (frame < m_frames)
                put(frame, shape(q, sample(frame)));
        }
        m_next += n + 1;
    }

private:
    quint8 *at(qint64 frame) const { return m_area + frame * m_layout.frameBytes(); }

    double sample(qint64 frame) const
    {
        const quint8 *p = at(frame);
        return m_layout.eightBit() ? double(p[0]) - 128 : double(qFromLittleEndian<qint16>(p));
    }

    void put(qint64 frame, double value) const
    {
        quint8 *p = at(frame);
        const qint64 v = qint64(std::trunc(value));
        for (int c = 0; c < m_layout.channels; ++c) {
            if (m_layout.eightBit())
                p[c] = quint8(v + 128);
            else
                qToLittleEndian(qint16(v), p + 2 * c);
        }
    }

    quint8 *m_area;
    const SampleLayout &m_layout;
    qint64 m_frames;
    qint64 m_next = 0;
};

} // namespace

Envelope::Shares Envelope::shares(const Settings &settings)
{
    Shares s{settings.attack, settings.hold, settings.decay, 0, settings.release};
    const int sum = s.attack + s.hold + s.decay + s.release;
    if (sum > 100) {
        s.attack = s.attack * 100 / sum;
        s.hold = s.hold * 100 / sum;
        s.decay = s.decay * 100 / sum;
        s.release = 100 - (s.attack + s.hold + s.decay);
    }
    s.sustain = 100 - (s.attack + s.hold + s.decay + s.release);
    return s;
}

void Envelope::apply(quint8 *area, qint64 dataSize, const SampleLayout &layout,
                     const Settings &settings)
{
    const Shares s = shares(settings);
    const qint64 perCent = qint64(layout.frameBytes()) * 100;
    auto length = [&](int share) { return share * dataSize / perCent; };
    const double level = settings.sustainLevel;
    SegmentWriter w(area, dataSize, layout);

    const qint64 attack = length(s.attack);
    if (s.attack > 0 && attack > 0)
        w.segment(attack, [&](qint64 q, double x) { return std::trunc(q * x * (1.0 / attack)); });
    const qint64 hold = length(s.hold);
    if (s.hold > 0 && hold > 0)
        w.segment(hold, [](qint64, double x) { return x; });
    const qint64 decay = length(s.decay);
    if (s.decay > 0 && decay > 0)
        w.segment(decay, [&](qint64 q, double x) {
            return x - std::trunc(q * x * (100 - level) / decay / 100);
        });
    // Without a release the sustain runs to the end.
    const qint64 sustain = s.release > 0 ? length(s.sustain) : w.remaining();
    if (s.sustain > 0 && (s.release > 0 || sustain > 0))
        w.segment(sustain, [&](qint64, double x) { return std::trunc(x * level / 100); });
    const qint64 release = w.remaining();
    if (s.release > 0 && release > 0)
        w.segment(release, [&](qint64 q, double x) {
            return std::trunc((release - q) * x * (level / 100) / release);
        });
}
