// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Program entry: creates the five top-level windows in their order.
class Application
{
public:
    static void createWindows(const QString &programPath);
    static void destroyWindows();
};
