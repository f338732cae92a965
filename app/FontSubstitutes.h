// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The layouts name Windows fonts; these map them to metric-close free fonts.
class FontSubstitutes
{
public:
    static void install();
};
