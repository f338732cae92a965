// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/DiagramLayout.h"

#include <QImage>
#include <QRect>

// Colours the 24 regions of a picture diagram, on the picture itself at its own resolution.
class PicturePainter
{
public:
    using Seeds = std::array<DiagramLayout::Seed, 12>;
    using Colours = quint32[Evaluation::kMeridians][Evaluation::kSides];

    // Fills the region around `seed` (picture pixels) unless the seed lies outside `visible`.
    static void fill(QImage &picture, QPoint seed, quint32 colour, const QRect &visible);
    // A copy of the picture with every region in its class colour; `scale` is the picture's
    // size over the size the seeds are given for.
    static QImage filled(const QImage &picture, const Seeds &seeds, const Colours &colours,
                         int scale = 1);
};
