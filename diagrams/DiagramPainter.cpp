// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/DiagramPainter.h"

#include "diagrams/SymbolPainter.h"

#include <QFont>
#include <QPainter>

namespace {
constexpr int kHeadingTop = 16;
constexpr int kHeadingPixels = 19;
constexpr int kHusbandLeft = 240;
constexpr int kWifeLeft = 416;
} // namespace

void DiagramPainter::circle(QPainter &p, const Colours &colours)
{
    const auto &places = DiagramLayout::Circle;
    const int count = static_cast<int>(places.size());
    for (int i = 0; i < count / 2; ++i) {
        const auto &a = places[i];
        const auto &b = places[i + count / 2];
        SymbolPainter::DrawSolidLine(a.x, a.y, b.x, b.y, &p);
    }
    for (int i = 0; i < count; ++i) {
        const auto &a = places[i];
        const auto &b = places[(i + 1) % count];
        SymbolPainter::DrawSolidLine(a.x, a.y, b.x, b.y, &p);
    }
    for (const auto &place : places) {
        SymbolPainter::DrawSideSymbol(place.x, place.y, colours[place.meridian][Evaluation::Left],
                                      colours[place.meridian][Evaluation::Right],
                                      QString::fromLatin1(place.text), &p);
    }
}

template <size_t Lines, size_t Pairs>
void DiagramPainter::pairs(QPainter &p, const Colours &colours,
                           const std::array<DiagramLayout::Line, Lines> &lines,
                           const std::array<DiagramLayout::PairPlace, Pairs> &pairs)
{
    for (const auto &line : lines) {
        if (line.dotted)
            SymbolPainter::DrawDottedLine(line.x1, line.y1, line.x2, line.y2, &p);
        else
            SymbolPainter::DrawSolidLine(line.x1, line.y1, line.x2, line.y2, &p);
    }
    for (const auto &pair : pairs) {
        SymbolPainter::DrawPairSymbol(pair.x, pair.y, colours[pair.meridianA][Evaluation::Left],
                                      colours[pair.meridianB][Evaluation::Left],
                                      QString::fromLatin1(pair.textA),
                                      QString::fromLatin1(pair.textB), &p);
    }
}

void DiagramPainter::uSin(QPainter &p, const Colours &colours)
{
    pairs(p, colours, DiagramLayout::USinLines, DiagramLayout::USinPairs);
}

void DiagramPainter::husbandWife(QPainter &p, const Colours &colours)
{
    pairs(p, colours, DiagramLayout::HusbWifeLines, DiagramLayout::HusbWifePairs);
}

void DiagramPainter::husbandWifeHeadings(QPainter &p, const QString &husband, const QString &wife)
{
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(kHeadingPixels);
    p.setFont(font);
    const int ascent = p.fontMetrics().ascent();
    p.drawText(QPoint(kHusbandLeft, kHeadingTop + ascent), husband);
    p.drawText(QPoint(kWifeLeft, kHeadingTop + ascent), wife);
}
