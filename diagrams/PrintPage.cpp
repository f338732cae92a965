// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/PrintPage.h"

#include <QFontMetricsF>

QSize PrintPage::fitted(QSize image, QSize page)
{
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (w <= 0 || h <= 0)
        return {};
    const qint64 byHeight = w * page.height() / h;
    if (byHeight < page.width())
        return QSize(static_cast<int>(byHeight), page.height());
    return QSize(page.width(), static_cast<int>(h * page.width() / w));
}

QRectF PrintPage::centred(QSizeF contents, const QRectF &room)
{
    if (contents.isEmpty() || room.isEmpty())
        return {};
    const QSizeF size = contents.scaled(room.size(), Qt::KeepAspectRatio);
    return QRectF(room.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

int PrintPage::fittingPixelSize(QFont font, const QString &text, int width, int smallest)
{
    int size = font.pixelSize();
    for (; size > smallest; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            break;
    }
    return size;
}
