// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
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
    // The largest pixel size, from the font's own down to `smallest`, at which `text` fits on
    // one line of `width`; `smallest` when none does, and the text has to wrap.
    static int fittingPixelSize(QFont font, const QString &text, int width, int smallest);
};
