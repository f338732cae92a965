// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the program did that support needs to know: start and end, the device ports, record
// operations that failed or were refused, backups and restores. One line each, with the time and
// the process id, in the user's state folder; the file is rotated by size. Cards are named by
// their id, never by the patient's name. Nothing is written until start() names the file, so
// that tests and tools leave the user's log alone.
class SupportLog
{
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    // tavimer.log.1 to .3 beside the current one.
    static constexpr int kKept = 3;

    // ~/.local/state/Kelvaro/Tavimer/tavimer.log, under $XDG_STATE_HOME when set.
    static QString defaultPath();
    static void start(const QString &path, qint64 maxBytes = kMaxBytes);
    static void stop();
    static QString path();
    static void write(const QString &event);
};
