#pragma once

#include <QImage>
#include <QSize>

class QPaintDevice;

// Puts one page image on a printer page: as large as fits, at the top-left of the printable area.
class PrintPage
{
public:
    // Fits by height unless that makes it wider than the page; integer multiply-then-divide.
    static QSize fitted(QSize image, QSize page);
    // Draws the image on the device, whose size is its printable area.
    static void print(QPaintDevice &device, const QImage &image);
};
