#include "diagrams/SymbolPainter.h"

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

void SymbolPainter::pairSymbol(QPainter &p, int x, int y, quint32 colourA, quint32 colourB,
                               const QString &textA, const QString &textB)
{
    constexpr int h = kPairRadius / 2;
    symbol(p, x, y, kPairRadius, colourA, colourB);
    p.drawArc(QRect(x - kPairRadius, y - h, kPairRadius, 2 * h), kHalfCircle, kHalfCircle);
    p.drawArc(QRect(x, y - h, kPairRadius, 2 * h), 0, kHalfCircle);
    text(p, x - 40, y - 20, textA);
    text(p, x + 15, y - 10, textB);
}

void SymbolPainter::sideSymbol(QPainter &p, int x, int y, quint32 colourA, quint32 colourB,
                               const QString &text)
{
    symbol(p, x, y, kSideRadius, colourA, colourB);
    SymbolPainter::text(p, x - 10, y - 15, text);
}

void SymbolPainter::solidLine(QPainter &p, int x1, int y1, int x2, int y2)
{
    setPen(p, 2, Qt::SolidLine);
    p.drawLine(x1, y1, x2, y2);
}

void SymbolPainter::dottedLine(QPainter &p, int x1, int y1, int x2, int y2)
{
    setPen(p, 1, Qt::DotLine);
    p.drawLine(x1, y1, x2, y2);
}
