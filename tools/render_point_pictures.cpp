// SPDX-License-Identifier: GPL-3.0-or-later
// Draws each body picture with the markers of a catalogue's point map, the first
// point on each picture as the current one, for checking a map by eye.
// Usage: render_point_pictures <catalogue> <pictures folder> <output folder>
#include "app/Catalogue.h"
#include "measure/PointMap.h"
#include "measure/PointPainter.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        QTextStream(stderr) << "usage: render_point_pictures <catalogue> <pictures> <output>\n";
        return 2;
    }
    const Catalogue catalogue(QString::fromLocal8Bit(argv[1]));
    const PointMap map = PointMap::read(&catalogue);
    const PointPainter painter(
        PointPainter::picturesFrom(QString::fromLocal8Bit(argv[2]), QStringLiteral(".jpg")));
    const QString output = QString::fromLocal8Bit(argv[3]);
    for (int picture = 0; picture < PointMap::kPictureCount; ++picture) {
        QImage area;
        for (int i = 0; i < PointMap::kPointCount; ++i) {
            if (map.point(i).Picture == picture) {
                painter.paintPoint(area, map, i, 0);
                break;
            }
        }
        if (area.isNull())
            painter.paintIdle(area);
        if (!area.save(output + QLatin1Char('/') + PointMap::pictureNames()[picture] + ".png"))
            return 1;
    }
    return 0;
}
