// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tavimer --prune-history YEARS: drops the cards' history older than YEARS years, for an
// administrator who decides so; nothing prunes it by default. Exit code 0 on success, 1 with
// the reason on standard error, 2 when YEARS is no whole number of at least 1.
class PruneCommand
{
public:
    static void connect();
};
