// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measure/PointMap.h"

#include <QColor>
#include <QImage>
#include <QList>

class QPainter;

// Draws the picture area of the measuring window: a body picture with the markers
// of the points that lie on it. Cheap enough to run on every 100 ms tick.
class PointPainter
{
public:
    // One picture per name of PointMap::pictureNames(), in that order; a missing or
    // mis-sized one is replaced by a plain area so that drawing never fails.
    explicit PointPainter(const QList<QImage> &pictures);

    // The pictures as embedded in the program (":/pictures/<name>").
    static QList<QImage> embeddedPictures();
    static QList<QImage> picturesFrom(const QString &folder, const QString &suffix);

    // Yellow through red and back over the ten phases of a second.
    static QColor blinkColor(int blinkPhase);
    static QColor markerGrey() { return QColor(128, 128, 128); }

    // The current point's picture (the idle one when it names none) with the markers
    // of every point on it; the current one in the blink colour.
    void paintPoint(QImage &area, const PointMap &map, int index, int blinkPhase) const;
    void paintIdle(QImage &area) const;

    static void paintMarker(QPainter &painter, const MeasPoint &point, const QColor &fill);

private:
    void paintPicture(QImage &area, int picture) const;

    QList<QImage> m_pictures;
};
