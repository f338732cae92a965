// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the seven body pictures of the measuring window (480 x 320 JPEG each).
// Usage: draw_body_pictures <assets folder>
//
// Each view is built from smooth outlines in picture coordinates, drawn at twice
// the size and scaled down. Volume comes from soft, blurred layers masked by the
// skin: a darker rim along every edge and a lighter ridge where the light falls.
// The right limb is the left one mirrored, so both sides always match.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;
constexpr int kScale = 2;

const QColor kSkinLight(0xf3, 0xd2, 0xb8);
const QColor kSkin(0xe4, 0xb0, 0x90);
const QColor kSkinShade(0xb8, 0x78, 0x5c);
const QColor kCrease(0x8e, 0x55, 0x42);
const QColor kNail(0xf0, 0xc8, 0xc0);

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// Three box-blur passes approximate a Gaussian; the image is premultiplied ARGB.
void blurLine(uchar *base, int count, int stride, int radius, std::vector<int> &sums)
{
    const int window = 2 * radius + 1;
    std::vector<uchar> copy(size_t(count) * 4);
    for (int i = 0; i < count; ++i)
        std::memcpy(&copy[size_t(i) * 4], base + size_t(i) * stride, 4);
    for (int c = 0; c < 4; ++c) {
        sums.assign(size_t(count) + 1, 0);
        for (int i = 0; i < count; ++i)
            sums[size_t(i) + 1] = sums[size_t(i)] + copy[size_t(i) * 4 + c];
        for (int i = 0; i < count; ++i) {
            const int lo = std::max(0, i - radius);
            const int hi = std::min(count, i + radius + 1);
            base[size_t(i) * stride + c] = uchar((sums[size_t(hi)] - sums[size_t(lo)]) / window);
        }
    }
}

void blur(QImage &image, int radius)
{
    if (radius <= 0)
        return;
    std::vector<int> sums;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < image.height(); ++y)
            blurLine(image.scanLine(y), image.width(), 4, radius, sums);
        for (int x = 0; x < image.width(); ++x)
            blurLine(image.bits() + size_t(x) * 4, image.height(), int(image.bytesPerLine()),
                     radius, sums);
    }
}

// A picture being drawn, in picture coordinates at kScale times the pixels.
class Canvas
{
public:
    Canvas() : m_image(kWidth * kScale, kHeight * kScale, QImage::Format_ARGB32_Premultiplied)
    {
        m_image.fill(Qt::white);
    }

    QImage layer() const
    {
        QImage image(m_image.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        return image;
    }

    static void begin(QPainter &p, QImage &image)
    {
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kScale, kScale);
    }

    // Draws into a fresh layer, softens it, keeps it inside mask and lays it on.
    void soft(const std::function<void(QPainter &)> &draw, qreal radius,
              const QPainterPath &mask = QPainterPath(),
              QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver)
    {
        QImage image = layer();
        QPainter p;
        begin(p, image);
        draw(p);
        p.end();
        blur(image, qRound(radius * kScale / 2.2));
        if (!mask.isEmpty()) {
            QImage inside = layer();
            begin(p, inside);
            p.fillPath(mask, Qt::black);
            p.end();
            p.begin(&image);
            p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            p.drawImage(0, 0, inside);
            p.end();
        }
        QPainter out(&m_image);
        out.setCompositionMode(mode);
        out.drawImage(0, 0, image);
    }

    void sharp(const std::function<void(QPainter &)> &draw)
    {
        QPainter p;
        begin(p, m_image);
        draw(p);
    }

    QImage result() const
    {
        return m_image.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    }

private:
    QImage m_image;
};

void paintBackground(Canvas &canvas)
{
    canvas.sharp([](QPainter &p) {
        QLinearGradient wall(0, 0, 0, kHeight);
        wall.setColorAt(0, QColor(0xee, 0xf2, 0xf4));
        wall.setColorAt(1, QColor(0xd3, 0xdd, 0xe3));
        p.fillRect(QRectF(0, 0, kWidth, kHeight), wall);
        QRadialGradient glow(QPointF(kWidth * 0.45, kHeight * 0.35), kWidth * 0.7);
        glow.setColorAt(0, QColor(255, 255, 255, 90));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(0, 0, kWidth, kHeight), glow);
    });
}

void castShadow(Canvas &canvas, const QPainterPath &body, QPointF offset, qreal radius, int alpha)
{
    canvas.soft(
        [&](QPainter &p) {
            p.translate(offset);
            p.fillPath(body, QColor(0x40, 0x4c, 0x58, alpha));
        },
        radius);
}

// The skin itself: a lit gradient, a dark rim along the outline, and a light
// ridge (the part of the body that faces the light).
void paintSkin(Canvas &canvas, const QPainterPath &body, const QPainterPath &ridge, qreal rimWidth)
{
    canvas.sharp([&](QPainter &p) {
        const QRectF box = body.boundingRect();
        QLinearGradient light(box.topLeft(), box.bottomRight());
        light.setColorAt(0, kSkinLight);
        light.setColorAt(0.55, kSkin);
        light.setColorAt(1, kSkin.darker(106));
        p.fillPath(body, light);
    });
    canvas.soft(
        [&](QPainter &p) {
            p.setPen(QPen(withAlpha(kSkinShade, 190), rimWidth));
            p.drawPath(body);
        },
        rimWidth * 0.9, body);
    if (!ridge.isEmpty())
        canvas.soft([&](QPainter &p) { p.fillPath(ridge, withAlpha(kSkinLight, 150)); },
                    rimWidth * 0.8, body);
    canvas.sharp([&](QPainter &p) {
        p.setPen(QPen(withAlpha(kSkinShade.darker(125), 150), 0.8));
        p.drawPath(body);
    });
}

// A line in the skin: a dark fold with a lighter lip just below it.
void crease(QPainter &p, const QPainterPath &line, qreal width, int alpha)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kSkinLight, alpha * 3 / 4), width, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(line.translated(0, width * 0.9));
    p.setPen(QPen(withAlpha(kCrease, alpha), width, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(line);
}

QPainterPath curve(QPointF a, QPointF c, QPointF b)
{
    QPainterPath path(a);
    path.quadTo(c, b);
    return path;
}

// ---------------------------------------------------------------- hands

// A finger as a tapered capsule from its base centre, pointing along angle
// (degrees from straight up, clockwise).
struct Finger
{
    QPointF base;
    qreal angle;
    qreal length;
    qreal baseWidth;
    qreal tipWidth;

    QTransform frame() const
    {
        QTransform t;
        t.translate(base.x(), base.y());
        t.rotate(angle);
        return t;
    }

    QPainterPath outline() const
    {
        const qreal b = baseWidth / 2;
        const qreal t = tipWidth / 2;
        QPainterPath path(QPointF(-b, 12));
        path.lineTo(-b, 0);
        path.cubicTo(-b, -length * 0.4, -t - 0.8, -length * 0.7, -t, -length + t);
        path.cubicTo(-t, -length - t * 0.35, t, -length - t * 0.35, t, -length + t);
        path.cubicTo(t + 0.8, -length * 0.7, b, -length * 0.4, b, 0);
        path.lineTo(b, 12);
        path.closeSubpath();
        return frame().map(path);
    }

    // The two sides without the base, where a finger meets its neighbour.
    QPainterPath sides() const
    {
        QPainterPath path(at(0.02, -baseWidth / 2));
        path.quadTo(at(0.5, -widthAt(0.5) / 2 - 0.3), at(0.8, -tipWidth / 2));
        path.moveTo(at(0.02, baseWidth / 2));
        path.quadTo(at(0.5, widthAt(0.5) / 2 + 0.3), at(0.8, tipWidth / 2));
        return path;
    }

    QPointF at(qreal along, qreal across = 0) const
    {
        return frame().map(QPointF(across, -length * along));
    }

    qreal widthAt(qreal along) const { return baseWidth + (tipWidth - baseWidth) * along; }

    // A line across the finger at a fraction of its length, bowed towards the tip.
    QPainterPath across(qreal along, qreal part, qreal bow) const
    {
        const qreal half = widthAt(along) / 2 * part;
        return frame().map(curve(QPointF(-half, -length * along), QPointF(0, -length * along - bow),
                                 QPointF(half, -length * along)));
    }
};

// A left hand seen from above with the fingers up: thumb on the right. Local
// coordinates: the middle of the wrist line at 0, 0.
struct Hand
{
    QList<Finger> fingers = {
        {{-33, -80}, -9, 54, 19, 15.5},   // little
        {{-12, -92}, -3, 70, 20.5, 16.5}, // ring
        {{9.5, -96}, 1, 76, 21.5, 17.5},  // middle
        {{31, -91}, 6, 68, 21, 16.5},     // index
    };
    Finger thumb{{33, -30}, 38, 70, 27, 19.5};

    QPainterPath palm() const
    {
        QPainterPath path(QPointF(-31, 4));
        path.cubicTo(QPointF(-37, -20), QPointF(-46, -48), QPointF(-43, -78));
        path.cubicTo(QPointF(-40, -94), QPointF(-20, -100), QPointF(2, -102));
        path.cubicTo(QPointF(24, -102), QPointF(40, -98), QPointF(41, -88));
        path.cubicTo(QPointF(42, -72), QPointF(40, -60), QPointF(42, -46));
        path.cubicTo(QPointF(44, -30), QPointF(36, -10), QPointF(31, 4));
        path.closeSubpath();
        return path;
    }

    // The web between thumb and index finger.
    QPainterPath web() const
    {
        QPainterPath path(QPointF(39, -92));
        path.quadTo(QPointF(40, -72), thumb.at(0.5, -thumb.widthAt(0.5) / 2 + 0.5));
        path.lineTo(thumb.at(0.1));
        path.lineTo(QPointF(30, -60));
        path.closeSubpath();
        return path;
    }

    QPainterPath forearm() const
    {
        QPainterPath path(QPointF(-31, -6));
        path.lineTo(31, -6);
        path.cubicTo(QPointF(34, 30), QPointF(38, 70), QPointF(40, 120));
        path.lineTo(-40, 120);
        path.cubicTo(QPointF(-37, 70), QPointF(-34, 30), QPointF(-31, -6));
        return path;
    }

    QPainterPath outline() const
    {
        QPainterPath body = palm().united(forearm()).united(web()).united(thumb.outline());
        for (const Finger &finger : fingers)
            body = body.united(finger.outline());
        return body.simplified();
    }
};

// Placement of one hand: mirrored for the right one.
QTransform placeHand(QPointF wrist, qreal scale, bool mirrored)
{
    QTransform t;
    t.translate(wrist.x(), wrist.y());
    t.scale(mirrored ? -scale : scale, scale);
    return t;
}

QPainterPath handRidges(const Hand &hand, bool palmSide)
{
    QPainterPath ridge;
    for (const Finger &finger : hand.fingers) {
        const qreal side = palmSide ? 0 : -finger.widthAt(0.5) * 0.12;
        QPainterPath line(finger.at(0.05, side));
        line.lineTo(finger.at(0.92, side));
        QPainterPathStroker stroke;
        stroke.setWidth(finger.widthAt(0.5) * 0.38);
        stroke.setCapStyle(Qt::RoundCap);
        ridge.addPath(stroke.createStroke(line));
    }
    QPainterPathStroker thumbStroke;
    thumbStroke.setWidth(8);
    thumbStroke.setCapStyle(Qt::RoundCap);
    QPainterPath thumbLine(hand.thumb.at(0.1));
    thumbLine.lineTo(hand.thumb.at(0.85));
    ridge.addPath(thumbStroke.createStroke(thumbLine));
    ridge.addEllipse(palmSide ? QPointF(-4, -52) : QPointF(-6, -56), 24, 30);
    ridge.addEllipse(QRectF(-18, 8, 26, 150));
    return ridge;
}

void handBackDetails(QPainter &p, const Hand &hand)
{
    for (const Finger &finger : hand.fingers) {
        // The folds over the two finger joints.
        for (int i = 0; i < 3; ++i)
            crease(p, finger.across(0.48 + i * 0.035, 0.45 - i * 0.05, 2.2), 0.7, 70);
        crease(p, finger.across(0.77, 0.35, 1.2), 0.6, 55);
        // Nail: a rounded plate with a pale free edge.
        QTransform t = finger.frame();
        const qreal w = finger.tipWidth * 0.66;
        const qreal len = finger.length * 0.2;
        QPainterPath nail;
        nail.addRoundedRect(QRectF(-w / 2, -finger.length + 1.6, w, len), w * 0.45, w * 0.45);
        nail = t.map(nail);
        p.setPen(QPen(withAlpha(kSkinShade, 170), 0.7));
        QLinearGradient shine(finger.at(1), finger.at(0.8));
        shine.setColorAt(0, QColor(0xfb, 0xee, 0xe6));
        shine.setColorAt(0.25, kNail);
        shine.setColorAt(1, kNail.darker(104));
        p.setBrush(shine);
        p.drawPath(nail);
    }
    // Thumb nail and joint folds.
    const Finger &thumb = hand.thumb;
    crease(p, thumb.across(0.55, 0.45, 2.5), 0.7, 70);
    crease(p, thumb.across(0.59, 0.35, 2.5), 0.6, 55);
    QPainterPath nail;
    nail.addRoundedRect(QRectF(-thumb.tipWidth * 0.36, -thumb.length + 2, thumb.tipWidth * 0.72,
                               thumb.length * 0.24),
                        6, 6);
    p.setPen(QPen(withAlpha(kSkinShade, 170), 0.7));
    p.setBrush(kNail);
    p.drawPath(thumb.frame().map(nail));
    // The wrist's own soft folds.
    crease(p, curve(QPointF(-24, 1), QPointF(0, 6), QPointF(24, -1)), 0.6, 50);
    crease(p, curve(QPointF(-18, 6), QPointF(0, 10), QPointF(18, 5)), 0.5, 35);
}

// Tendons fanning out from the wrist and the head of the ulna, both soft.
void handBackRelief(QPainter &p, const Hand &hand)
{
    for (const Finger &finger : hand.fingers) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(kSkinLight, 80), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(curve(QPointF(finger.base.x() * 0.3, -12), QPointF(finger.base.x() * 0.75, -50),
                         finger.at(-0.1)));
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(kSkinLight, 110));
        p.drawEllipse(finger.at(-0.06), finger.baseWidth * 0.3, finger.baseWidth * 0.24);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kSkinLight, 110));
    p.drawEllipse(QPointF(-25, 2), 5, 5);
    p.setBrush(withAlpha(kSkinShade, 60));
    p.drawEllipse(QPointF(-23, 9), 5, 2.5);
}

void palmDetails(QPainter &p, const Hand &hand)
{
    for (const Finger &finger : hand.fingers) {
        crease(p, finger.across(0.08, 0.8, -1.2), 0.8, 90);
        crease(p, finger.across(0.5, 0.78, -0.6), 0.9, 100);
        crease(p, finger.across(0.535, 0.55, -0.6), 0.6, 60);
        crease(p, finger.across(0.76, 0.7, -0.4), 0.8, 90);
        // Finger pads, a little rosier.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe8, 0x98, 0x84, 50));
        p.drawEllipse(finger.at(0.88), finger.tipWidth * 0.36, finger.length * 0.09);
    }
    const Finger &thumb = hand.thumb;
    crease(p, thumb.across(0.5, 0.75, -1.0), 0.9, 100);
    crease(p, thumb.across(0.54, 0.55, -1.0), 0.6, 60);
    // Heart, head and life lines.
    crease(p, curve(QPointF(-42, -70), QPointF(-10, -66), QPointF(22, -90)), 1.0, 110);
    crease(p, curve(QPointF(-42, -52), QPointF(0, -58), QPointF(36, -82)), 1.0, 110);
    QPainterPath life(QPointF(38, -78));
    life.cubicTo(QPointF(18, -66), QPointF(10, -30), QPointF(14, -6));
    crease(p, life, 1.0, 110);
    // Ball of the thumb and the little-finger side pad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0x98, 0x84, 40));
    p.drawEllipse(QPointF(27, -30), 13, 22);
    p.drawEllipse(QPointF(-30, -36), 10, 24);
    // Two wrist creases, where the probe goes.
    crease(p, curve(QPointF(-29, -2), QPointF(0, 4), QPointF(29, -3)), 1.0, 130);
    crease(p, curve(QPointF(-27, 7), QPointF(0, 12), QPointF(28, 6)), 0.8, 90);
}

// Tendons of the forearm under the skin of the palm side.
void palmRelief(QPainter &p)
{
    p.setPen(QPen(withAlpha(kSkinLight, 110), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-4, 20), QPointF(-6, 110));
    p.drawLine(QPointF(9, 20), QPointF(10, 110));
}

QImage drawHands(bool palmSide)
{
    Canvas canvas;
    paintBackground(canvas);
    const Hand hand;
    const qreal scale = 1.15;
    // Backs: thumbs towards the middle. Palms: the same outline mirrored.
    const QList<QTransform> places = {placeHand(QPointF(128, 236), scale, palmSide),
                                      placeHand(QPointF(352, 236), scale, !palmSide)};
    for (const QTransform &place : places) {
        const QPainterPath body = place.map(hand.outline());
        castShadow(canvas, body, QPointF(5, 6), 9, 110);
        paintSkin(canvas, body, place.map(handRidges(hand, palmSide)), 9);
        canvas.soft(
            [&](QPainter &p) {
                p.setTransform(place, true);
                // Shade where the fingers meet and where the thumb leaves the palm.
                p.setPen(QPen(withAlpha(kSkinShade, 150), 1.6));
                for (const Finger &finger : hand.fingers)
                    p.drawPath(finger.sides());
                p.drawPath(hand.thumb.sides());
            },
            1.6, body);
        canvas.soft(
            [&](QPainter &p) {
                p.setTransform(place, true);
                if (palmSide)
                    palmRelief(p);
                else
                    handBackRelief(p, hand);
            },
            palmSide ? 5 : 2.5, body);
        canvas.sharp([&](QPainter &p) {
            p.setTransform(place, true);
            p.setClipPath(hand.outline());
            if (palmSide)
                palmDetails(p, hand);
            else
                handBackDetails(p, hand);
        });
    }
    return canvas.result();
}

// ---------------------------------------------------------------- feet

QPainterPath cubicPath(QPointF start, const QList<QPointF> &points)
{
    QPainterPath path(start);
    for (int i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    return path;
}

QPainterPath roundToe(QRectF box)
{
    QPainterPath toe;
    toe.addRoundedRect(box, box.width() * 0.48, box.width() * 0.5);
    return toe;
}

// A right foot seen from the front and a little above: big toe on the right.
// Local coordinates: the front of the ankle at 0, 0.
struct FrontFoot
{
    QList<QRectF> toes = {
        {23, 58, 29, 46}, // big toe
        {6, 64, 18, 37},  {-9, 65, 16, 33}, {-23, 65, 15, 30}, {-37, 63, 14, 27},
    };

    QPainterPath leg() const
    {
        QPainterPath path = cubicPath(QPointF(-38, -180), {{-44, -120},
                                                           {-30, -60},
                                                           {-28, -20},
                                                           {-31, -10},
                                                           {-33, 4},
                                                           {-30, 12},
                                                           {-30, 12},
                                                           {30, 12},
                                                           {30, 12},
                                                           {34, -2},
                                                           {34, -20},
                                                           {28, -30},
                                                           {30, -70},
                                                           {48, -120},
                                                           {40, -180}});
        path.closeSubpath();
        return path;
    }

    QPainterPath dorsum() const
    {
        QPainterPath path = cubicPath(QPointF(-31, 0), {{-34, 20},
                                                        {-40, 45},
                                                        {-38, 68},
                                                        {-20, 82},
                                                        {30, 82},
                                                        {50, 72},
                                                        {48, 45},
                                                        {40, 18},
                                                        {32, -8}});
        path.closeSubpath();
        return path;
    }

    QPainterPath outline() const
    {
        QPainterPath body = leg().united(dorsum());
        for (const QRectF &toe : toes)
            body = body.united(roundToe(toe));
        return body.simplified();
    }

    QPainterPath ridge() const
    {
        QPainterPath ridge;
        ridge.addEllipse(QRectF(-14, -180, 22, 170));
        ridge.addEllipse(QRectF(-12, 6, 36, 60));
        for (const QRectF &toe : toes)
            ridge.addEllipse(toe.adjusted(toe.width() * 0.25, 3, -toe.width() * 0.35, -8));
        return ridge;
    }
};

void frontFootRelief(QPainter &p)
{
    // The ankle bones: the inner one higher, the outer one lower.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kSkinLight, 170));
    p.drawEllipse(QPointF(29, -14), 7, 10);
    p.drawEllipse(QPointF(-29, -2), 7, 10);
    p.setBrush(withAlpha(kSkinShade, 110));
    p.drawEllipse(QPointF(27, 0), 8, 4);
    p.drawEllipse(QPointF(-27, 12), 8, 4);
    // Tendons running over the front of the ankle onto the foot.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kSkinLight, 150), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve(QPointF(12, -40), QPointF(16, -6), QPointF(22, 16)));
    p.setPen(QPen(withAlpha(kSkinLight, 110), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve(QPointF(6, -20), QPointF(22, 30), QPointF(36, 60)));
    for (int i = 1; i < 5; ++i)
        p.drawPath(curve(QPointF(-2, 8), QPointF(-4 - i * 4, 40), QPointF(20 - i * 15, 64)));
    // The hollow in front of the outer ankle.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kSkinShade, 70));
    p.drawEllipse(QPointF(-18, 16), 8, 7);
}

void frontFootDetails(QPainter &p, const FrontFoot &foot)
{
    crease(p, curve(QPointF(-20, 7), QPointF(0, 13), QPointF(24, 5)), 0.7, 80);
    crease(p, curve(QPointF(-14, 12), QPointF(2, 16), QPointF(18, 11)), 0.5, 50);
    for (int i = 0; i < foot.toes.size(); ++i) {
        const QRectF toe = foot.toes[i];
        // Toe joint fold and nail; the nails face up and slightly towards us.
        crease(p,
               curve(QPointF(toe.left() + 3, toe.top() + toe.height() * 0.42),
                     QPointF(toe.center().x(), toe.top() + toe.height() * 0.38),
                     QPointF(toe.right() - 3, toe.top() + toe.height() * 0.42)),
               0.5, 35);
        const qreal w = toe.width() * (i == 0 ? 0.62 : 0.56);
        const QRectF nail(toe.center().x() - w / 2, toe.bottom() - toe.height() * 0.42, w,
                          toe.height() * 0.3);
        QLinearGradient shine(nail.topLeft(), nail.bottomLeft());
        shine.setColorAt(0, kNail.darker(104));
        shine.setColorAt(0.8, kNail);
        shine.setColorAt(1, QColor(0xfb, 0xee, 0xe6));
        p.setPen(QPen(withAlpha(kSkinShade, 170), 0.7));
        p.setBrush(shine);
        p.drawRoundedRect(nail, w * 0.45, w * 0.4);
    }
}

QImage drawFeetFront()
{
    Canvas canvas;
    paintBackground(canvas);
    const FrontFoot foot;
    const qreal scale = 1.3;
    // Seen from the front: the right foot on the left, big toes towards the middle.
    const QList<QTransform> places = {placeHand(QPointF(130, 158), scale, false),
                                      placeHand(QPointF(350, 158), scale, true)};
    for (const QTransform &place : places) {
        const QPainterPath body = place.map(foot.outline());
        canvas.soft(
            [&](QPainter &p) {
                p.setTransform(place, true);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x40, 0x4c, 0x58, 150));
                p.drawEllipse(QRectF(-50, 80, 108, 26));
            },
            8);
        paintSkin(canvas, body, place.map(foot.ridge()), 9);
        canvas.soft(
            [&](QPainter &p) {
                p.setTransform(place, true);
                p.setPen(QPen(withAlpha(kSkinShade, 170), 1.6));
                p.setBrush(Qt::NoBrush);
                // Sides and tips only: the toes grow out of the foot without a seam.
                for (const QRectF &toe : foot.toes) {
                    p.save();
                    p.setClipRect(toe.adjusted(-3, toe.height() * 0.3, 3, 3));
                    p.drawPath(roundToe(toe));
                    p.restore();
                }
            },
            1.4, body);
        canvas.soft(
            [&](QPainter &p) {
                p.setTransform(place, true);
                frontFootRelief(p);
            },
            5, body);
        canvas.sharp([&](QPainter &p) {
            p.setTransform(place, true);
            p.setClipPath(foot.outline());
            frontFootDetails(p, foot);
        });
    }
    return canvas.result();
}

// A foot from the side with its toes to the right; the inner side shows the arch
// and the big toe, the outer side a flat edge and the little toes.
struct SideFoot
{
    bool inner;

    QPainterPath outline() const
    {
        QPainterPath path = cubicPath(QPointF(126, -10), {{100, 60},
                                                          {152, 120},
                                                          {148, 178},
                                                          {146, 215},
                                                          {106, 232},
                                                          {110, 264},
                                                          {114, 290},
                                                          {130, 297},
                                                          {156, 297}});
        if (inner) {
            path.cubicTo(QPointF(200, 298), QPointF(230, 284), QPointF(270, 282));
            path.cubicTo(QPointF(310, 280), QPointF(335, 292), QPointF(370, 295));
            path.cubicTo(QPointF(400, 297), QPointF(430, 293), QPointF(448, 288));
            path.cubicTo(QPointF(462, 284), QPointF(462, 262), QPointF(446, 256));
            path.cubicTo(QPointF(430, 252), QPointF(410, 252), QPointF(394, 250));
        } else {
            path.cubicTo(QPointF(220, 298), QPointF(270, 296), QPointF(288, 292));
            path.cubicTo(QPointF(300, 296), QPointF(360, 298), QPointF(410, 297));
            path.cubicTo(QPointF(425, 297), QPointF(432, 296), QPointF(440, 293));
            path.cubicTo(QPointF(450, 292), QPointF(452, 290), QPointF(455, 286));
            path.cubicTo(QPointF(462, 280), QPointF(460, 264), QPointF(446, 260));
            path.cubicTo(QPointF(430, 256), QPointF(410, 254), QPointF(394, 251));
        }
        path.cubicTo(QPointF(350, 240), QPointF(292, 214), QPointF(264, 198));
        path.cubicTo(QPointF(250, 190), QPointF(247, 176), QPointF(246, 160));
        path.cubicTo(QPointF(244, 100), QPointF(240, 40), QPointF(236, -10));
        path.closeSubpath();
        return path;
    }

    QPointF ankleBone() const { return inner ? QPointF(210, 190) : QPointF(190, 210); }

    QPainterPath ridge() const
    {
        QPainterPath ridge;
        ridge.addEllipse(QRectF(196, -20, 34, 190));
        ridge.addEllipse(QRectF(124, 246, 28, 28));
        ridge.addPath(QTransform().translate(330, 250).rotate(22).map([] {
            QPainterPath top;
            top.addEllipse(QRectF(-70, -14, 140, 22));
            return top;
        }()));
        return ridge;
    }
};

void sideFootRelief(QPainter &p, const SideFoot &foot)
{
    const QPointF bone = foot.ankleBone();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kSkinLight, 190));
    p.drawEllipse(bone + QPointF(-2, -3), 13, 14);
    p.setBrush(withAlpha(kSkinShade, 120));
    p.drawEllipse(QRectF(bone.x() - 16, bone.y() + 9, 30, 9));
    // The hollow between the ankle bone and the heel cord.
    p.setBrush(withAlpha(kSkinShade, 90));
    p.drawEllipse(QRectF(bone.x() - 44, bone.y() - 20, 20, 44));
    // The heel cord itself.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kSkinLight, 140), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve(QPointF(132, 110), QPointF(144, 170), QPointF(128, 236)));
    // The sole's edge: a darker band along the ground.
    p.setPen(QPen(withAlpha(kSkinShade, 150), 9));
    p.drawLine(QPointF(130, 302), QPointF(450, 302));
    if (foot.inner) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(kSkinShade, 110));
        p.drawEllipse(QRectF(205, 268, 120, 26));
        p.setBrush(withAlpha(kSkinLight, 140));
        p.drawEllipse(QPointF(382, 272), 14, 10);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(kSkinLight, 140));
        p.drawEllipse(QPointF(284, 282), 10, 7);
        p.drawEllipse(QPointF(246, 232), 18, 11);
    }
}

void sideFootDetails(QPainter &p, const SideFoot &foot)
{
    crease(p, curve(QPointF(236, 186), QPointF(248, 204), QPointF(268, 214)), 0.6, 45);
    if (foot.inner) {
        // Big toe: the joint fold and the nail seen edge-on.
        crease(p, curve(QPointF(420, 255), QPointF(418, 270), QPointF(424, 288)), 0.7, 80);
        QPainterPath nail(QPointF(432, 254));
        nail.cubicTo(QPointF(444, 253), QPointF(454, 256), QPointF(457, 264));
        nail.cubicTo(QPointF(450, 262), QPointF(440, 261), QPointF(431, 261));
        nail.closeSubpath();
        p.setPen(QPen(withAlpha(kSkinShade, 170), 0.7));
        p.setBrush(kNail);
        p.drawPath(nail);
        return;
    }
    // The little toes in a row, each with its small nail.
    const QList<QPointF> tips = {{457, 279}, {441, 289}, {427, 293}};
    for (const QPointF &tip : tips) {
        crease(p, curve(tip + QPointF(-15, -13), tip + QPointF(-8, -4), tip + QPointF(-11, 6)), 0.8,
               110);
        p.setPen(QPen(withAlpha(kSkinShade, 170), 0.7));
        p.setBrush(kNail);
        QPainterPath nail(tip + QPointF(-11, -12));
        nail.quadTo(tip + QPointF(-3, -13), tip + QPointF(-1, -7));
        nail.quadTo(tip + QPointF(-6, -8), tip + QPointF(-11, -9));
        nail.closeSubpath();
        p.drawPath(nail);
    }
}

QImage drawFootSide(bool inner, bool mirrored)
{
    Canvas canvas;
    paintBackground(canvas);
    const SideFoot foot{inner};
    QTransform place;
    if (mirrored)
        place = QTransform(-1, 0, 0, 1, kWidth, 0);
    const QPainterPath body = place.map(foot.outline());
    canvas.soft(
        [&](QPainter &p) {
            p.setTransform(place, true);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x40, 0x4c, 0x58, 150));
            p.drawEllipse(QRectF(110, 290, 360, 20));
        },
        7);
    paintSkin(canvas, body, place.map(foot.ridge()), 11);
    canvas.soft(
        [&](QPainter &p) {
            p.setTransform(place, true);
            sideFootRelief(p, foot);
        },
        9, body);
    canvas.sharp([&](QPainter &p) {
        p.setTransform(place, true);
        p.setClipPath(foot.outline());
        sideFootDetails(p, foot);
    });
    return canvas.result();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    const QList<QPair<QString, std::function<QImage()>>> pictures = {
        {QStringLiteral("imgKezFelul"), [] { return drawHands(false); }},
        {QStringLiteral("imgTenyer"), [] { return drawHands(true); }},
        {QStringLiteral("imgLabElol"), [] { return drawFeetFront(); }},
        {QStringLiteral("imgBLKivul"), [] { return drawFootSide(false, true); }},
        {QStringLiteral("imgBLBelul"), [] { return drawFootSide(true, false); }},
        {QStringLiteral("imgJLBelul"), [] { return drawFootSide(true, true); }},
        {QStringLiteral("imgJLKivul"), [] { return drawFootSide(false, false); }},
    };
    for (const auto &picture : pictures) {
        if (!picture.second().save(dir + QLatin1Char('/') + picture.first + ".jpg", "JPG", 90))
            return 1;
    }
    return 0;
}
