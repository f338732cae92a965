// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The bar diagram's fixed frame, the same on screen, on a page and in the comparison:
// the bars' places, the value range and the five class thresholds in their colours.
class BarScale
{
public:
    static constexpr int kFirstX = -1;
    static constexpr int kLastX = 24;
    static constexpr double kMinY = -50;
    static constexpr double kMaxY = 50;

    struct Level
    {
        double y;
        quint32 colour; // 0x00BBGGRR
    };
    static constexpr std::array<Level, 5> kLevels{
        {{14, 0x00000000}, {-14, 0x00000000}, {0, 0x00008000}, {7, 0x000000FF}, {-7, 0x00FF0000}}};

    // "LU-L", "LU-R", "HC-L" ... in grid order.
    static QString barLabel(int bar);
};
