// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>

// Repaints the 4-connected area of one colour around a seed, span by span.
class FloodFill
{
public:
    // Returns the number of pixels repainted; a seed outside the image repaints nothing.
    static int fill(QImage &image, QPoint seed, QRgb colour);
};
