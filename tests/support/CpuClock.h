// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <ctime>

// The share of one core that this process has used since start().
class CpuClock
{
public:
    void start()
    {
        m_cpuStart = cpuSeconds();
        m_wall.start();
    }

    double coreShare() const
    {
        const double wall = m_wall.nsecsElapsed() / 1e9;
        return wall > 0 ? (cpuSeconds() - m_cpuStart) / wall : 0;
    }

    static double cpuSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) + now.tv_nsec / 1e9;
    }

private:
    double m_cpuStart = 0;
    QElapsedTimer m_wall;
};
