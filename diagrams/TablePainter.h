// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSizeF>

class QAbstractItemModel;
class QFont;
class QPainter;

// A table model as lines and text, every row and column at once, for a page: a table on screen
// scrolls, and what scrolled out of view would be missing from the paper.
class TablePainter
{
public:
    // Paints the header row and all rows with their texts, alignments and backgrounds, and
    // returns the size taken.
    static QSizeF paint(QPainter &p, const QPointF &topLeft, const QAbstractItemModel &model,
                        const QFont &font);
};
