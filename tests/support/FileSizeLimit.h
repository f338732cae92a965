// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <csignal>
#include <sys/resource.h>

// Files of this process cannot grow beyond `bytes` while it lives: writes fail with EFBIG, as
// they fail on a full disk. A limit below 0 changes nothing.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        if (bytes < 0)
            return;
        m_previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = rlim_t(bytes);
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (!m_set)
            return;
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_previousSignal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
    void (*m_previousSignal)(int) = SIG_DFL;
    bool m_set = false;
};
