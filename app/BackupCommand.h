// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tavimer --backup DIR, --restore ZIP DIR and --verify ZIP: the backup commands for
// administrators and timers, run without a window. Exit code 0 on success, 1 with the reason on
// standard error when the work failed or was refused, 2 when the command was not understood.
class BackupCommand
{
public:
    // Hands the three options of the command line to these commands.
    static void connect();
};
