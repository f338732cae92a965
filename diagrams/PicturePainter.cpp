// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/PicturePainter.h"

#include "diagrams/FloodFill.h"
#include "diagrams/SymbolPainter.h"

void PicturePainter::fill(QImage &picture, QPoint seed, quint32 colour, const QRect &visible)
{
    // A region without a reading keeps the picture's own colour.
    if (visible.contains(seed) && colour != Evaluation::kNoClass)
        FloodFill::fill(picture, seed, SymbolPainter::colour(colour).rgb());
}

QImage PicturePainter::filled(const QImage &picture, const Seeds &seeds, const Colours &colours,
                              int scale)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    // The middle of the seed's pixel, in the larger picture.
    auto at = [scale](int x, int y) {
        return QPoint(x * scale + scale / 2, y * scale + scale / 2);
    };
    for (const auto &seed : seeds) {
        fill(image, at(seed.leftX, seed.leftY), colours[seed.meridian][Evaluation::Left],
             image.rect());
        fill(image, at(seed.rightX, seed.rightY), colours[seed.meridian][Evaluation::Right],
             image.rect());
    }
    return image;
}
