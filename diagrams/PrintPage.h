#pragma once

#include <QSize>

// Puts one page's contents on a printer page: as large as fits, at the top-left of the
// printable area.
class PrintPage
{
public:
    // Fits by height unless that makes it wider than the page; integer multiply-then-divide.
    static QSize fitted(QSize image, QSize page);
};
