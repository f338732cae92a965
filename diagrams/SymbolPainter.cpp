// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/SymbolPainter.h"

#include "diagrams/Evaluation.h"

#include <QFont>
#include <QPainter>

namespace {
constexpr int kPairRadius = 60;
constexpr int kSideRadius = 40;
constexpr int kFullCircle = 360 * 16;
constexpr int kHalfCircle = 180 * 16;
// 16 points on the 96-dpi screens the diagrams were laid out for.
constexpr int kTextPixels = 21;
} // namespace

QColor SymbolPainter::colour(quint32 bgr)
{
    if (bgr == Evaluation::kNoClass)
        return Qt::white;
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

void SymbolPainter::setPen(QPainter &p, int width, Qt::PenStyle style)
{
    p.setPen(QPen(p.pen().color(), width, style));
}

void SymbolPainter::text(QPainter &p, int left, int top, const QString &text)
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Comic Sans MS"));
        f.setPixelSize(kTextPixels);
        return f;
    }();
    p.setFont(font);
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(QPoint(left, top + p.fontMetrics().ascent()), text);
}

void SymbolPainter::symbol(QPainter &p, int x, int y, int r, quint32 colourA, quint32 colourB)
{
    const int h = r / 2;
    const QRect disc(x - r, y - r, 2 * r, 2 * r);
    const QColor penColour = p.pen().color();
    // Solid fills without smoothing: the smoothed outline covers their edge, at half the cost.
    const bool smooth = p.testRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour(colourA));
    p.drawPie(disc, 0, kHalfCircle);
    p.setBrush(colour(colourB));
    p.drawPie(disc, kHalfCircle, kHalfCircle);
    p.setBrush(colour(colourA));
    p.drawEllipse(QRect(x - r, y - h, r, 2 * h));
    p.setBrush(colour(colourB));
    p.drawEllipse(QRect(x, y - h, r, 2 * h));
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.setPen(QPen(penColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(disc, 0, kFullCircle);
}

void SymbolPainter::DrawPairSymbol(int X, int Y, quint32 ColourA, quint32 ColourB,
                                   const QString &TextA, const QString &TextB, QPainter *Surface)
{
    QPainter &p = *Surface;
    constexpr int h = kPairRadius / 2;
    symbol(p, X, Y, kPairRadius, ColourA, ColourB);
    p.drawArc(QRect(X - kPairRadius, Y - h, kPairRadius, 2 * h), kHalfCircle, kHalfCircle);
    p.drawArc(QRect(X, Y - h, kPairRadius, 2 * h), 0, kHalfCircle);
    text(p, X - 40, Y - 20, TextA);
    text(p, X + 15, Y - 10, TextB);
}

void SymbolPainter::DrawSideSymbol(int X, int Y, quint32 ColourA, quint32 ColourB,
                                   const QString &Text, QPainter *Surface)
{
    symbol(*Surface, X, Y, kSideRadius, ColourA, ColourB);
    text(*Surface, X - 10, Y - 15, Text);
}

void SymbolPainter::DrawSolidLine(int X1, int Y1, int X2, int Y2, QPainter *Surface)
{
    setPen(*Surface, 2, Qt::SolidLine);
    Surface->drawLine(X1, Y1, X2, Y2);
}

void SymbolPainter::DrawDottedLine(int X1, int Y1, int X2, int Y2, QPainter *Surface)
{
    setPen(*Surface, 1, Qt::DotLine);
    Surface->drawLine(X1, Y1, X2, Y2);
}
