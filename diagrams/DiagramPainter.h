// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/DiagramLayout.h"

#include <QString>

class QPainter;

// The drawn diagrams at their fixed client coordinates, for any evaluation and any surface:
// a window on screen, a printer page or a report.
class DiagramPainter
{
public:
    using Colours = quint32[Evaluation::kMeridians][Evaluation::kSides];

    // Left side above and in the left lobe, right side below and in the right lobe.
    static void circle(QPainter &p, const Colours &colours);
    // Both colours of a pair come from the left side.
    static void uSin(QPainter &p, const Colours &colours);
    static void husbandWife(QPainter &p, const Colours &colours);
    // The two column headings that the window shows as labels.
    static void husbandWifeHeadings(QPainter &p, const QString &husband, const QString &wife);

private:
    template <size_t Lines, size_t Pairs>
    static void pairs(QPainter &p, const Colours &colours,
                      const std::array<DiagramLayout::Line, Lines> &lines,
                      const std::array<DiagramLayout::PairPlace, Pairs> &pairs);
};
