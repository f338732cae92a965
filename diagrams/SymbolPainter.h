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
    static void pairSymbol(QPainter &p, int x, int y, quint32 colourA, quint32 colourB,
                           const QString &textA, const QString &textB);
    // Radius 40, one text over the centre.
    static void sideSymbol(QPainter &p, int x, int y, quint32 colourA, quint32 colourB,
                           const QString &text);
    static void solidLine(QPainter &p, int x1, int y1, int x2, int y2);
    static void dottedLine(QPainter &p, int x1, int y1, int x2, int y2);

private:
    static void symbol(QPainter &p, int x, int y, int r, quint32 colourA, quint32 colourB);
    static void setPen(QPainter &p, int width, Qt::PenStyle style);
    static void text(QPainter &p, int left, int top, const QString &text);
};
