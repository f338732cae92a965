// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QPainter;

// The drawing operations the drawn diagrams share. They set pen width and style, fill and
// font, and leave the pen colour as the surface has it.
class SymbolPainter
{
public:
    static QColor colour(quint32 bgr);

    // Radius 60, with the S-shaped divide and a text in each lobe.
    static void DrawPairSymbol(int X, int Y, quint32 ColourA, quint32 ColourB, const QString &TextA,
                               const QString &TextB, QPainter *Surface);
    // Radius 40, one text over the centre.
    static void DrawSideSymbol(int X, int Y, quint32 ColourA, quint32 ColourB, const QString &Text,
                               QPainter *Surface);
    static void DrawSolidLine(int X1, int Y1, int X2, int Y2, QPainter *Surface);
    static void DrawDottedLine(int X1, int Y1, int X2, int Y2, QPainter *Surface);

private:
    static void symbol(QPainter &p, int x, int y, int r, quint32 colourA, quint32 colourB);
    static void setPen(QPainter &p, int width, Qt::PenStyle style);
    static void text(QPainter &p, int left, int top, const QString &text);
};
