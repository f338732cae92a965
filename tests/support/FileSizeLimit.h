// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <csignal>
#include <sys/resource.h>

// While it lives, no file of this process grows beyond `bytes` (none below 0): writes fail with
// EFBIG as they fail on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit{rlim_t(bytes), m_before.rlim_max};
        m_set = bytes >= 0 && std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR &&
                setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            setrlimit(RLIMIT_FSIZE, &m_before);
    }

private:
    rlimit m_before{};
    bool m_set = false;
};
