// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QSize>

// Puts one page's contents on a printer page: as large as fits.
class PrintPage
{
public:
    // Fits by height unless that makes it wider than the page; integer multiply-then-divide.
    static QSize fitted(QSize image, QSize page);
    // As large as fits into `room` with its shape kept, in the middle of it.
    static QRectF centred(QSizeF contents, const QRectF &room);
};
