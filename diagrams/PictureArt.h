// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

class Catalogue;

// The line drawings of the two picture diagrams. Every region a diagram fills is one uniform
// colour bounded by lines drawn without anti-aliasing; text, hatching and shading stay outside
// those regions, at any scale.
class PictureArt
{
public:
    struct Texts
    {
        QString caption1;
        QString caption2;
        QString metal;
        QString earth;
        QString fire;
        QString water;
        QString wood;
    };
    static Texts texts(const Catalogue &catalogue);

    static constexpr QSize kPicture1Size{643, 200};
    static constexpr QSize kPicture2Size{530, 460};
    // The pictures `scale` times their own size; the seed (x, y) lies at ((x + 0.5) * scale,
    // (y + 0.5) * scale).
    static QImage picture1(const Texts &texts, int scale = 1);
    static QImage picture2(const Texts &texts, int scale = 1);
};
