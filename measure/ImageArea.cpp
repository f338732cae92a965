// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/ImageArea.h"

#include <QPainter>

ImageArea::ImageArea(QWidget *parent) : QWidget(parent) {}

void ImageArea::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}
