// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the two picture-diagram pictures, with their Hungarian texts, as uncompressed 24-bit
// bitmaps.
// Usage: draw_diagram_pictures <assets folder>
#include "diagrams/PictureArt.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    const PictureArt::Texts texts = {
        QStringLiteral("Az energia napi keringése az egymást követő Yin és Yang meridiánokban"),
        QStringLiteral("Az energia napi keringési ciklusa az egyes meridiánokban"),
        QStringLiteral("fém"),
        QStringLiteral("föld"),
        QStringLiteral("tüz"),
        QStringLiteral("víz"),
        QStringLiteral("fa")};
    PictureArt::picture1(texts)
        .convertToFormat(QImage::Format_RGB888)
        .save(folder + QStringLiteral("/circ1.bmp"), "BMP");
    PictureArt::picture2(texts)
        .convertToFormat(QImage::Format_RGB888)
        .save(folder + QStringLiteral("/circ2.bmp"), "BMP");
    return 0;
}
