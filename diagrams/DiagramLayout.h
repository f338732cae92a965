// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"

#include <QRectF>
#include <array>

// The fixed places of the drawn diagrams, in client pixels.
class DiagramLayout
{
public:
    using M = Evaluation::Meridian;

    struct Line
    {
        bool dotted;
        int x1, y1, x2, y2;
    };
    struct SidePlace
    {
        M meridian;
        int x, y;
        const char *text;
    };
    struct PairPlace
    {
        int x, y;
        M meridianA;
        const char *textA;
        M meridianB;
        const char *textB;
    };
    struct Seed
    {
        M meridian;
        int leftX, leftY, rightX, rightY;
    };

    // Where each drawn diagram lies in its own client pixels, headings included.
    static const QRectF CircleBox;
    static const QRectF USinBox;
    static const QRectF HusbWifeBox;

    // Clockwise from the top, in the order of the daily circulation.
    static const std::array<SidePlace, 12> Circle;
    static const std::array<Line, 12> USinLines;
    static const std::array<PairPlace, 6> USinPairs;
    static const std::array<Line, 3> HusbWifeLines;
    static const std::array<PairPlace, 6> HusbWifePairs;
    // Seeds in picture pixels, in the order the regions are filled.
    static const std::array<Seed, 12> Picture1Seeds;
    static const std::array<Seed, 12> Picture2Seeds;
};
