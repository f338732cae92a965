// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/PointPainter.h"

#include <QPainter>
#include <algorithm>

namespace {

const QSize kSize(PointMap::kPictureWidth, PointMap::kPictureHeight);

// Same pixel format as the area, so that drawing a picture is a plain copy.
QImage prepared(const QImage &picture)
{
    if (picture.size() == kSize)
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage plain(kSize, QImage::Format_RGB32);
    plain.fill(QColor(0xd8, 0xdf, 0xe6));
    return plain;
}

} // namespace

PointPainter::PointPainter(const QList<QImage> &pictures)
{
    for (int i = 0; i < PointMap::kPictureCount; ++i)
        m_pictures.append(prepared(pictures.value(i)));
}

QList<QImage> PointPainter::embeddedPictures()
{
    return picturesFrom(QStringLiteral(":/pictures"), QString());
}

QList<QImage> PointPainter::picturesFrom(const QString &folder, const QString &suffix)
{
    QList<QImage> pictures;
    for (const QString &name : PointMap::pictureNames())
        pictures.append(QImage(folder + QLatin1Char('/') + name + suffix));
    return pictures;
}

QColor PointPainter::blinkColor(int blinkPhase)
{
    const int phase = ((blinkPhase % 10) + 10) % 10;
    const int step = phase <= 5 ? phase : 10 - phase;
    return QColor(240, 240 - 48 * step, 0);
}

void PointPainter::paintPicture(QImage &area, int picture) const
{
    if (area.size() != kSize || area.format() != QImage::Format_RGB32)
        area = QImage(kSize, QImage::Format_RGB32);
    const QImage &source = m_pictures.at(picture);
    std::copy(source.constBits(), source.constBits() + source.sizeInBytes(), area.bits());
}

void PointPainter::paintIdle(QImage &area) const
{
    paintPicture(area, PointMap::kIdlePicture);
}

void PointPainter::paintPoint(QImage &area, const PointMap &map, int index, int blinkPhase) const
{
    const MeasPoint &current = map.point(index);
    if (!current.hasPicture()) {
        paintIdle(area);
        return;
    }
    paintPicture(area, current.Picture);
    QPainter painter(&area);
    const QList<MeasPoint> &points = map.points();
    for (int i = 0; i < points.size(); ++i) {
        if (points[i].Picture == current.Picture)
            paintMarker(painter, points[i], i == index ? blinkColor(blinkPhase) : markerGrey());
    }
}

void PointPainter::paintMarker(QPainter &painter, const MeasPoint &point, const QColor &fill)
{
    if (!point.hasMarker())
        return;
    // Without anti-aliasing a one-pixel outline of a 9 x 9 rectangle covers exactly
    // the 10 x 10 pixels from X - 5 to X + 4.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QRect(point.X - 5, point.Y - 5, 9, 9));
}
