// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tavimer --export-patient ID FILE and --export-sheets FILE [--pseudonymous]: a patient's record
// as JSON and every sheet as CSV, run without a window. An existing FILE is never replaced.
// Exit code 0 with the file's path on standard output, 1 with the reason on standard error.
class ExportCommand
{
public:
    // Hands the two options of the command line to these commands.
    static void connect();
};
