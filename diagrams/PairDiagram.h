#pragma once

#include "diagrams/DiagramLayout.h"

class QPainter;

// Lines first, then the pair symbols over them; both colours of a pair come from the left side.
class PairDiagram
{
public:
    template <size_t Lines, size_t Pairs>
    static void paint(QPainter &p, const std::array<DiagramLayout::Line, Lines> &lines,
                      const std::array<DiagramLayout::PairPlace, Pairs> &pairs)
    {
        for (const auto &line : lines)
            drawLine(p, line);
        for (const auto &pair : pairs)
            drawPair(p, pair);
    }

private:
    static void drawLine(QPainter &p, const DiagramLayout::Line &line);
    static void drawPair(QPainter &p, const DiagramLayout::PairPlace &pair);
};
