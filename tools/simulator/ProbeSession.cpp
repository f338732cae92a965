// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeSession.h"

#include <QStringList>
#include <cmath>

namespace {

constexpr int kLowestPlateau = 60;
constexpr double kPlateauSpan = 15.0; // highest plateau / lowest
constexpr double kRiseSteepness = 5.0;

double unitInterval(std::mt19937 &random)
{
    return double(random()) / 4294967296.0;
}

} // namespace

ProbeSession::ProbeSession(QList<int> plateaus, Timing timing, quint32 seed, bool repeat)
    : m_plateaus(std::move(plateaus)), m_timing(timing), m_random(seed), m_repeat(repeat)
{
}

bool ProbeSession::atEnd() const
{
    const int perPoint = m_timing.restFrames + m_timing.riseFrames + m_timing.holdFrames;
    return !m_repeat && m_frame >= kPoints * perPoint + m_timing.restFrames;
}

ProbeSession::Sample ProbeSession::next()
{
    const int perPoint = m_timing.restFrames + m_timing.riseFrames + m_timing.holdFrames;
    const int sessionFrames = kPoints * perPoint + m_timing.restFrames;
    if (atEnd())
        return {0, Phase::Done, 0};
    const int frame = m_frame++ % sessionFrames;
    const int point = frame / perPoint;
    if (point == kPoints)
        return {0, Phase::Rest, 0};
    const int offset = frame % perPoint;
    const int plateau = m_plateaus.at(point);
    if (offset < m_timing.restFrames)
        return {point + 1, Phase::Rest, 0};
    if (offset < m_timing.restFrames + m_timing.riseFrames)
        return {point + 1, Phase::Rise, riseReading(plateau, offset - m_timing.restFrames + 1)};
    return {point + 1, Phase::Hold, qBound(1, plateau + jitter(), 65535)};
}

int ProbeSession::riseReading(int plateau, int frame) const
{
    // An exponential approach that ends exactly on the plateau at the last rise frame.
    const double t = double(frame) / m_timing.riseFrames;
    const double share = (1.0 - std::exp(-kRiseSteepness * t)) / (1.0 - std::exp(-kRiseSteepness));
    return qMax(1, int(std::lround(plateau * share)));
}

int ProbeSession::jitter()
{
    if (m_timing.jitter <= 0)
        return 0;
    return int(m_random() % (2 * m_timing.jitter + 1)) - m_timing.jitter;
}

QList<int> ProbeSession::drawPlateaus(quint32 seed)
{
    std::mt19937 random(seed);
    QList<int> plateaus;
    for (int i = 0; i < kPoints; ++i)
        plateaus.append(
            int(std::lround(kLowestPlateau * std::pow(kPlateauSpan, unitInterval(random)))));
    return plateaus;
}

std::optional<QList<int>> ProbeSession::parsePlateaus(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != kPoints)
        return std::nullopt;
    QList<int> plateaus;
    for (const QString &part : parts) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 65535)
            return std::nullopt;
        plateaus.append(value);
    }
    return plateaus;
}

QString ProbeSession::phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Rest:
        return QStringLiteral("rest");
    case Phase::Rise:
        return QStringLiteral("rise");
    case Phase::Hold:
        return QStringLiteral("hold");
    case Phase::Done:
        break;
    }
    return QStringLiteral("done");
}
