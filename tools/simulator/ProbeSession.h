// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <random>

// What a practitioner's probe makes the device read, one value per frame: for each of the 24
// points a rest without contact (0), a settling rise to the point's plateau, a hold with a
// little jitter around it, and then the lift, which is the next point's rest.
class ProbeSession
{
public:
    static constexpr int kPoints = 24;

    enum class Phase
    {
        Rest,
        Rise,
        Hold,
        Done
    };

    struct Timing
    {
        int restFrames = 10;
        int riseFrames = 8;
        int holdFrames = 40;
        // Largest random step around the plateau.
        int jitter = 3;
    };

    struct Sample
    {
        int point = 0; // 1 to 24; 0 after the last point
        Phase phase = Phase::Rest;
        int reading = 0;
    };

    ProbeSession(QList<int> plateaus, Timing timing, quint32 seed, bool repeat);

    Sample next();
    bool atEnd() const;
    const QList<int> &plateaus() const { return m_plateaus; }

    // 24 plateaus spread evenly on a logarithmic scale, the same for the same seed everywhere.
    static QList<int> drawPlateaus(quint32 seed);
    // "v1,v2,...,v24", each 0 to 65535.
    static std::optional<QList<int>> parsePlateaus(const QString &text);
    static QString phaseName(Phase phase);

private:
    int riseReading(int plateau, int frame) const;
    int jitter();

    QList<int> m_plateaus;
    Timing m_timing;
    std::mt19937 m_random;
    bool m_repeat;
    int m_frame = 0;
};
