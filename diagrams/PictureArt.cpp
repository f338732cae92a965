// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/PictureArt.h"

#include "app/Catalogue.h"

#include <QFont>
#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

const QColor kInk(Qt::black);
const QColor kPaper(Qt::white);
const QString kFontFamily = QStringLiteral("DejaVu Sans");

QFont font(int pixels, bool bold = false)
{
    QFont f(kFontFamily);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QPen borderPen(int width = 2)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

void boxedText(QPainter &p, QPointF centre, QSizeF size, const QString &text, int pixels)
{
    const QRectF box(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                     size.height());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(borderPen(1));
    p.setBrush(kPaper);
    p.drawRect(box.toRect());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(font(pixels, true));
    p.drawText(box, Qt::AlignCenter, text);
}

void arrowHead(QPainter &p, QPointF tip, QPointF from, qreal size)
{
    const QLineF back(tip, from);
    const qreal angle = qDegreesToRadians(-back.angle());
    auto at = [&](qreal turn) {
        return tip + QPointF(std::cos(angle + turn), std::sin(angle + turn)) * size;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({tip, at(0.4), at(-0.4)}));
}

// Picture 1: the six successive Yin-Yang pairs along the day's circulation.
struct Pair
{
    QString yang, yin, element;
    int upperX, lowerX; // the axis crosses y = 50 and y = 130 here
};

constexpr int kLineY = 85;

void drawPicture1(QPainter &p, const PictureArt::Texts &texts)
{
    const QList<Pair> pairs = {
        {"Li", "Lu", texts.metal, 115, 95}, {"St", "Sp", texts.earth, 175, 210},
        {"Si", "Ht", texts.fire, 285, 265}, {"Bl", "Ki", texts.water, 355, 385},
        {"Th", "Hc", texts.fire, 465, 440}, {"Gb", "Lv", texts.wood, 525, 560},
    };
    p.setRenderHint(QPainter::Antialiasing, false);

    constexpr qreal a = 62, b = 36;
    QList<QPointF> tops, bottoms;
    for (int i = 0; i < pairs.size(); ++i) {
        const Pair &pair = pairs[i];
        const qreal slope = (pair.lowerX - pair.upperX) / 80.0;
        const QPointF centre(pair.upperX + slope * (kLineY - 50), kLineY);
        const qreal angle = qRadiansToDegrees(std::atan(-slope));
        const QPointF up(std::sin(qDegreesToRadians(angle)), -std::cos(qDegreesToRadians(angle)));
        const QPointF top = centre + up * a;
        const QPointF bottom = centre - up * a;
        tops.append(top);
        bottoms.append(bottom);

        p.save();
        p.translate(centre);
        p.rotate(angle);
        p.setPen(borderPen());
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(0, 0), b, a);
        p.restore();

        // The arrow runs with the circulation: up through the even pairs, down through the odd.
        const bool upwards = i % 2 == 0;
        const QPointF from = upwards ? bottom : top;
        const QPointF to = upwards ? top : bottom;
        const QPointF across(-up.y(), up.x());
        QPainterPath arrow(from - (to - from) * 0.04);
        arrow.quadTo((from + to) / 2 + across * (upwards ? 5 : -5), to);
        p.setPen(borderPen());
        p.setBrush(Qt::NoBrush);
        p.drawPath(arrow);
        p.setRenderHint(QPainter::Antialiasing, true);
        arrowHead(p, to + (to - from) * 0.09, from, 9);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    p.setPen(borderPen());
    p.drawLine(9, kLineY, 633, kLineY);
    for (int x : {5, 9, 633, 637})
        p.drawLine(x, 28, x, 142);

    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < pairs.size(); ++i) {
        const QPointF upperBox(tops[i].x(), 11);
        const QPointF lowerBox(bottoms[i].x(), 159);
        boxedText(p, upperBox, QSizeF(24, 14), pairs[i].yang, 10);
        boxedText(p, lowerBox, QSizeF(24, 14), pairs[i].yin, 10);
        // The word goes to the side away from the next pair's box, where there is room.
        const bool leftOfBox = i % 2 == 1;
        p.setPen(kInk);
        p.setFont(font(11));
        p.drawText(leftOfBox ? QRectF(lowerBox.x() - 56, 150, 40, 18)
                             : QRectF(lowerBox.x() + 16, 150, 40, 18),
                   (leftOfBox ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                   pairs[i].element);
    }
    // The circulation hands over at the top and the bottom in turn.
    p.setPen(QPen(kInk, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i + 1 < pairs.size(); ++i) {
        const bool atTop = i % 2 == 0;
        const QPointF from =
            atTop ? QPointF(tops[i].x() + 12, 9) : QPointF(bottoms[i].x() + 12, 164);
        const QPointF to =
            atTop ? QPointF(tops[i + 1].x() - 12, 9) : QPointF(bottoms[i + 1].x() - 12, 164);
        QPainterPath arc(from);
        arc.quadTo((from + to) / 2 + QPointF(0, atTop ? -8 : 10), to);
        p.drawPath(arc);
    }
    p.setPen(kInk);
    p.setFont(font(12, true));
    p.drawText(QRectF(14, 62, 50, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Yang"));
    p.drawText(QRectF(14, 90, 50, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Yin"));
    p.setFont(font(11));
    p.drawText(QRectF(0, 181, 643, 18), Qt::AlignCenter, texts.caption1);
}

// Picture 2: the six pair channels around the Yin circle.
struct Channel
{
    QString name, first, second; // first sits at the start of the long axis, second at its end
    QPointF centre;
    qreal a, b, angle; // half axes; angle of the long axis, clockwise from the x axis
    int boxWidth;
};

const QList<Channel> kChannels = {
    {QStringLiteral("Yang Ming"), "Li", "St", {248, 47.5}, 85, 34, 0, 60},
    {QStringLiteral("Tai Yin"), "Lu", "Sp", {250, 142.5}, 75, 34, 0, 46},
    {QStringLiteral("Shao Yin"), "Ht", "Ki", {355, 255}, 75, 34, 90, 50},
    {QStringLiteral("Tai Yang"), "Si", "Bl", {450, 260}, 80, 40, 90, 50},
    {QStringLiteral("Jue Yin"), "Lv", "Hc", {164.5, 324.75}, 60, 32, 48.8, 44},
    {QStringLiteral("Shao Yang"), "Gb", "Th", {99.25, 393.5}, 68, 34, 49.7, 58},
};

QPointF along(const Channel &c, qreal distance)
{
    const qreal angle = qDegreesToRadians(c.angle);
    return c.centre + QPointF(std::cos(angle), std::sin(angle)) * distance;
}

QPointF across(const Channel &c, qreal distance)
{
    const qreal angle = qDegreesToRadians(c.angle);
    return c.centre + QPointF(-std::sin(angle), std::cos(angle)) * distance;
}

QPointF endOf(const QString &meridian)
{
    for (const Channel &c : kChannels) {
        if (c.first == meridian)
            return along(c, -c.a);
        if (c.second == meridian)
            return along(c, c.a);
    }
    return {};
}

void drawYinCircle(QPainter &p, QPointF centre, qreal radius)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawPath(disc);
    p.save();
    p.setClipPath(disc);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    for (qreal y = centre.y() - radius; y <= centre.y() + radius + 8; y += 7) {
        QPainterPath wave(QPointF(centre.x() - radius, y));
        for (qreal x = centre.x() - radius; x <= centre.x() + radius; x += 4)
            wave.lineTo(x, y + 2.5 * std::sin(x / 9.0));
        p.drawPath(wave);
    }
    p.restore();
    p.setPen(borderPen());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    boxedText(p, centre, QSizeF(44, 22), QStringLiteral("Yin"), 15);
}

void drawCirculation(QPainter &p)
{
    const QStringList order = {"Lu", "Li", "St", "Sp", "Ht", "Si", "Bl",
                               "Ki", "Hc", "Th", "Gb", "Lv", "Lu"};
    // Hand-overs inside one channel go round the outside of its ellipse.
    const QMap<QString, QPointF> bends = {
        {"LiSt", {248, -40}}, {"SiBl", {545, 260}}, {"ThGb", {25, 470}}};
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i + 1 < order.size(); ++i) {
        const QPointF from = endOf(order[i]);
        const QPointF to = endOf(order[i + 1]);
        const QPointF bend = bends.value(order[i] + order[i + 1], (from + to) / 2);
        const QPointF direction = (to - bend) / QLineF(bend, to).length();
        const QPointF tip = to - direction * 12;
        QPainterPath path(from);
        path.quadTo(bend, tip);
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        arrowHead(p, tip, tip - direction * 10, 8);
    }
}

void drawChannel(QPainter &p, const Channel &c)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.save();
    p.translate(c.centre);
    p.rotate(c.angle);
    p.setPen(borderPen());
    p.setBrush(QColor(252, 252, 240));
    p.drawEllipse(QPointF(0, 0), c.a, c.b);
    p.restore();
    p.setPen(borderPen());
    for (const QPointF &end : {along(c, -c.a), along(c, c.a), across(c, -c.b), across(c, c.b)})
        p.drawLine(c.centre, end);
    boxedText(p, c.centre, QSizeF(c.boxWidth, 14), c.name, 9);
    boxedText(p, along(c, -c.a), QSizeF(22, 15), c.first, 10);
    boxedText(p, along(c, c.a), QSizeF(22, 15), c.second, 10);
}

void drawPicture2(QPainter &p, const PictureArt::Texts &texts)
{
    QLinearGradient shade(QPointF(530, 0), QPointF(0, 460));
    shade.setColorAt(0, QColor(255, 246, 190));
    shade.setColorAt(1, kPaper);
    p.fillRect(QRectF(0, 0, 530, 460), shade);

    drawYinCircle(p, QPointF(245, 260), 160);
    drawCirculation(p);
    for (const Channel &c : kChannels)
        drawChannel(p, c);

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(kInk);
    p.setFont(font(18, true));
    p.drawText(QRectF(395, 105, 80, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Yang"));
    p.setFont(font(11));
    p.drawText(QRectF(170, 436, 352, 20), Qt::AlignRight | Qt::AlignVCenter, texts.caption2);
}

// Drawn `scale` times larger, so that a printer gets the lines at its own resolution.
QImage drawn(QSize size, int scale, const std::function<void(QPainter &)> &draw)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.fill(kPaper);
    QPainter p(&image);
    p.scale(scale, scale);
    draw(p);
    return image;
}

} // namespace

PictureArt::Texts PictureArt::texts(const Catalogue &catalogue)
{
    auto text = [&](const char *key) {
        return catalogue.text(QStringLiteral("Pictures"), QString::fromLatin1(key));
    };
    return {text("Caption1"), text("Caption2"), text("Metal"), text("Earth"),
            text("Fire"),     text("Water"),    text("Wood")};
}

QImage PictureArt::picture1(const Texts &texts, int scale)
{
    return drawn(kPicture1Size, scale, [&](QPainter &p) { drawPicture1(p, texts); });
}

QImage PictureArt::picture2(const Texts &texts, int scale)
{
    return drawn(kPicture2Size, scale, [&](QPainter &p) { drawPicture2(p, texts); });
}
