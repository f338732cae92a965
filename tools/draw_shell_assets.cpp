// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the splash logo, the tool-bar icons of the main window and the program's own icon.
// Usage: draw_shell_assets <assets folder>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

const QColor kInk(0x2b, 0x3a, 0x4a);
const QList<QColor> kClasses = {QColor(0x00, 0x00, 0xff), QColor(0xff, 0xff, 0x00),
                                QColor(0x00, 0xc0, 0x00), QColor(0x00, 0xff, 0xff),
                                QColor(0x00, 0x40, 0xc0)};

void drawIcon(const QString &path, const std::function<void(QPainter &)> &draw)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    image.save(path);
}

QPen ink(qreal width = 1.6)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void cards(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(QColor(0xf4, 0xe8, 0xc8));
    p.drawRoundedRect(QRectF(7.5, 3.5, 20, 25), 2, 2);
    p.setBrush(QColor(0xfc, 0xf6, 0xe4));
    p.drawRoundedRect(QRectF(4.5, 6.5, 20, 23), 2, 2);
    p.setBrush(QColor(0x5a, 0x8f, 0xc8));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(11, 13), 3, 3);
    p.drawChord(QRectF(6, 16, 10, 9), 0, 180 * 16);
    p.setPen(ink(1.3));
    p.drawLine(QPointF(17, 12), QPointF(22, 12));
    p.drawLine(QPointF(17, 16), QPointF(22, 16));
    p.drawLine(QPointF(8, 25), QPointF(22, 25));
}

void meas(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(QColor(0xf2, 0xf5, 0xf8));
    p.drawEllipse(QRectF(3.5, 3.5, 25, 25));
    const QPointF centre(16, 18);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(kClasses[i].darker(110), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(7, 9, 18, 18), (150 - i * 24) * 16, -22 * 16);
    }
    p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, QPointF(22, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(centre, 2, 2);
}

void bar(QPainter &p)
{
    const int heights[] = {10, 18, 7, 22, 14};
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(kClasses[i].darker(150), 1));
        p.setBrush(kClasses[i]);
        p.drawRect(QRectF(4.5 + i * 5, 27.5 - heights[i], 4, heights[i]));
    }
    p.setPen(ink(1.4));
    p.drawLine(QPointF(3, 28), QPointF(29, 28));
}

void circ(QPainter &p)
{
    p.setPen(QPen(kInk, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 5, 22, 22));
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0 - 90);
        const QPointF c(16 + 11 * qCos(a), 16 + 11 * qSin(a));
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(kClasses[i % 5]);
        p.drawEllipse(c, 2.8, 2.8);
    }
}

void usin(QPainter &p)
{
    QPolygonF pentagon, star;
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(i * 72.0 - 90);
        pentagon << QPointF(16 + 12 * qCos(a), 17 + 12 * qSin(a));
    }
    for (int i = 0; i < 5; ++i)
        star << pentagon[(i * 2) % 5];
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(star);
    p.setPen(QPen(kInk, 1.2, Qt::DashLine));
    p.drawPolygon(pentagon);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(kClasses[i]);
        p.drawEllipse(pentagon[i], 3.4, 3.4);
    }
}

void husbwife(QPainter &p)
{
    for (int column = 0; column < 2; ++column) {
        const qreal x = column == 0 ? 9 : 23;
        p.setPen(QPen(kInk, 1, Qt::DotLine));
        p.drawLine(QPointF(x, 5), QPointF(x, 27));
        for (int row = 0; row < 3; ++row) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(kClasses[(row + column * 2) % 5]);
            p.drawEllipse(QPointF(x, 6 + row * 10), 3.6, 3.6);
        }
    }
    p.setPen(ink(1.2));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
}

void circ1(QPainter &p)
{
    p.setPen(ink(1.2));
    p.setBrush(QColor(0xff, 0xfb, 0xe0));
    p.drawRect(QRectF(2.5, 8.5, 27, 15));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(kClasses[i + 1]);
        p.drawEllipse(QRectF(4.5 + i * 6.2, 12.5, 5.5, 7));
    }
}

void circ2(QPainter &p)
{
    p.setPen(ink(1.2));
    p.setBrush(QColor(0xff, 0xfb, 0xe0));
    p.drawRect(QRectF(3.5, 3.5, 25, 25));
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(i * 72.0 - 90);
        p.setBrush(kClasses[i]);
        p.drawEllipse(QPointF(16 + 8 * qCos(a), 16.5 + 8 * qSin(a)), 3.8, 3.8);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16.5), 3, 3);
}

void print(QPainter &p)
{
    p.setPen(ink(1.3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 3.5, 13, 9));
    p.setBrush(QColor(0x9a, 0xa8, 0xb6));
    p.drawRoundedRect(QRectF(3.5, 11.5, 25, 11), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 18.5, 15, 10));
    p.drawLine(QPointF(11, 22), QPointF(21, 22));
    p.drawLine(QPointF(11, 25), QPointF(19, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xb0, 0x30));
    p.drawEllipse(QPointF(24.5, 15), 1.3, 1.3);
}

void exitIcon(QPainter &p)
{
    p.setPen(ink(1.4));
    p.setBrush(QColor(0xb9, 0x7a, 0x45));
    p.drawRect(QRectF(4.5, 3.5, 14, 25));
    p.setBrush(QColor(0xe8, 0xc5, 0x3a));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(15.5, 16), 1.4, 1.4);
    p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(16, 16), QPointF(29, 16));
    p.drawPolyline(QPolygonF({QPointF(24, 11), QPointF(29, 16), QPointF(24, 21)}));
}

// The warm disc with the bold T at the centre of the logo and of the program's icon.
void warmCentre(QPainter &p, const QPointF &centre, qreal radius, int fontPixels)
{
    QRadialGradient core(centre, radius + 2);
    core.setColorAt(0, QColor(0xff, 0xf4, 0xd0));
    core.setColorAt(1, QColor(0xd8, 0x9c, 0x3c));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(centre, radius, radius);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(fontPixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x3a, 0x24, 0x08));
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
               Qt::AlignCenter, QStringLiteral("T"));
}

void logo(const QString &path)
{
    QImage image(320, 320, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(160, 140);
    QRadialGradient glow(centre, 130);
    glow.setColorAt(0, QColor(0x1c, 0x4f, 0x7a));
    glow.setColorAt(0.7, QColor(0x0b, 0x22, 0x3a));
    glow.setColorAt(1, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 130, 130);
    p.setPen(QPen(QColor(0x6f, 0xa8, 0xd8), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 100, 100);
    // Twelve meridians, a left and a right point each.
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0 - 90);
        const QPointF dir(qCos(a), qSin(a));
        const QColor c = kClasses[(i * 7) % 5];
        p.setPen(QPen(c, 1.2));
        p.drawLine(centre + dir * 40, centre + dir * 88);
        p.setPen(QPen(Qt::white, 1.5));
        QRadialGradient dot(centre + dir * 100, 11);
        dot.setColorAt(0, c.lighter(150));
        dot.setColorAt(1, c.darker(130));
        p.setBrush(dot);
        p.drawEllipse(centre + dir * 100, 10, 10);
    }
    warmCentre(p, centre, 36, 44);
    p.end();
    image.save(path, "JPG", 92);
}

// The program's icon, drawn on a 256-unit grid and scaled: a dark tile with the twelve
// meridian points in their class colours around the warm centre of the logo.
void programIcon(const QString &path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient tile(0, 16, 0, 240);
    tile.setColorAt(0, QColor(0x1c, 0x4f, 0x7a));
    tile.setColorAt(1, QColor(0x0b, 0x22, 0x3a));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(12, 12, 232, 232), 44, 44);
    const QPointF centre(128, 128);
    p.setPen(QPen(QColor(0x6f, 0xa8, 0xd8), 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 84, 84);
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0 - 90);
        const QPointF dot = centre + QPointF(qCos(a), qSin(a)) * 84;
        p.setPen(QPen(Qt::white, 4));
        p.setBrush(kClasses[(i * 7) % 5]);
        p.drawEllipse(dot, 17, 17);
    }
    warmCentre(p, centre, 50, 68);
    p.end();
    image.save(path);
}

// The same icon as scalable vector graphics, for desktops that draw it at any size.
void programIconSvg(const QString &path)
{
    QString dots;
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0 - 90);
        dots += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"17\" fill=\"%3\"/>\n")
                    .arg(128 + 84 * qCos(a), 0, 'f', 2)
                    .arg(128 + 84 * qSin(a), 0, 'f', 2)
                    .arg(kClasses[(i * 7) % 5].name());
    }
    const QString svg =
        QStringLiteral(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
            "viewBox=\"0 0 256 256\">\n"
            " <defs>\n"
            "  <linearGradient id=\"tile\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"240\" "
            "gradientUnits=\"userSpaceOnUse\">\n"
            "   <stop offset=\"0\" stop-color=\"#1c4f7a\"/><stop offset=\"1\" "
            "stop-color=\"#0b223a\"/>\n"
            "  </linearGradient>\n"
            "  <radialGradient id=\"core\" cx=\"128\" cy=\"128\" r=\"52\" "
            "gradientUnits=\"userSpaceOnUse\">\n"
            "   <stop offset=\"0\" stop-color=\"#fff4d0\"/><stop offset=\"1\" "
            "stop-color=\"#d89c3c\"/>\n"
            "  </radialGradient>\n"
            " </defs>\n"
            " <rect x=\"12\" y=\"12\" width=\"232\" height=\"232\" rx=\"44\" "
            "fill=\"url(#tile)\"/>\n"
            " <circle cx=\"128\" cy=\"128\" r=\"84\" fill=\"none\" stroke=\"#6fa8d8\" "
            "stroke-width=\"5\"/>\n"
            " <g stroke=\"#ffffff\" stroke-width=\"4\">\n%1 </g>\n"
            " <circle cx=\"128\" cy=\"128\" r=\"50\" fill=\"url(#core)\"/>\n"
            // The T as shapes, so that it looks the same without the font.
            " <path fill=\"#3a2408\" d=\"M104 102h48v14h-4l-2-6h-11v40l7 2v6h-26v-6l7-2v-40h-11l-2 "
            "6h-4z\"/>\n"
            "</svg>\n")
            .arg(dots);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(svg.toUtf8());
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    logo(dir + QStringLiteral("/logo.jpg"));
    const QList<QPair<QString, std::function<void(QPainter &)>>> icons = {
        {QStringLiteral("cards"), cards}, {QStringLiteral("meas"), meas},
        {QStringLiteral("bar"), bar},     {QStringLiteral("circ"), circ},
        {QStringLiteral("usin"), usin},   {QStringLiteral("husbwife"), husbwife},
        {QStringLiteral("circ1"), circ1}, {QStringLiteral("circ2"), circ2},
        {QStringLiteral("print"), print}, {QStringLiteral("exit"), exitIcon},
    };
    for (const auto &icon : icons)
        drawIcon(dir + QStringLiteral("/icons/") + icon.first + QStringLiteral(".png"),
                 icon.second);
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512})
        programIcon(dir + QStringLiteral("/icons/tavimer-%1.png").arg(size), size);
    programIconSvg(dir + QStringLiteral("/icons/tavimer.svg"));
    return 0;
}
