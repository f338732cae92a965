#include "diagrams/PrintPage.h"

#include <QPainter>

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

void PrintPage::print(QPaintDevice &device, const QImage &image)
{
    const QSize size = fitted(image.size(), QSize(device.width(), device.height()));
    QPainter painter(&device);
    if (!size.isEmpty())
        painter.drawImage(QRect(QPoint(0, 0), size), image);
}
