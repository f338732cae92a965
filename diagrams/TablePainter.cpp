// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TablePainter.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QFontMetricsF>
#include <QPainter>
#include <QVector>

namespace {

constexpr qreal kPadding = 4;

QString cellText(const QAbstractItemModel &model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

QVector<qreal> columnWidths(const QAbstractItemModel &model, const QFontMetricsF &metrics)
{
    QVector<qreal> widths(model.columnCount());
    for (int column = 0; column < model.columnCount(); ++column) {
        qreal widest =
            metrics.horizontalAdvance(model.headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model.rowCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(cellText(model, row, column)));
        widths[column] = widest + 2 * kPadding;
    }
    return widths;
}

bool isBrush(const QVariant &value)
{
    return value.canConvert<QBrush>() && value.value<QBrush>().style() != Qt::NoBrush;
}

void paintCell(QPainter &p, const QRectF &cell, const QString &text, const QVariant &background,
               Qt::Alignment alignment, const QVariant &foreground = QVariant())
{
    if (isBrush(background))
        p.fillRect(cell, background.value<QBrush>());
    p.setPen(QPen(Qt::darkGray, 0));
    p.drawRect(cell);
    // Light text on a dark class stays light on paper, as on screen.
    p.setPen(isBrush(foreground) ? foreground.value<QBrush>().color() : QColor(Qt::black));
    p.drawText(cell.adjusted(kPadding, 0, -kPadding, 0), int(alignment | Qt::AlignVCenter), text);
}

} // namespace

QSizeF TablePainter::paint(QPainter &p, const QPointF &topLeft, const QAbstractItemModel &model,
                           const QFont &font)
{
    p.save();
    p.setFont(font);
    const QFontMetricsF metrics(font, p.device());
    const QVector<qreal> widths = columnWidths(model, metrics);
    const qreal rowHeight = metrics.height() + 2 * kPadding;
    QPointF at = topLeft;
    for (int column = 0; column < model.columnCount(); ++column) {
        const QRectF cell(at, QSizeF(widths[column], rowHeight));
        paintCell(p, cell, model.headerData(column, Qt::Horizontal).toString(),
                  QBrush(QColor(235, 235, 235)), Qt::AlignHCenter);
        at.rx() += widths[column];
    }
    for (int row = 0; row < model.rowCount(); ++row) {
        at = QPointF(topLeft.x(), topLeft.y() + (row + 1) * rowHeight);
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex index = model.index(row, column);
            const QVariant alignment = model.data(index, Qt::TextAlignmentRole);
            paintCell(p, QRectF(at, QSizeF(widths[column], rowHeight)), index.data().toString(),
                      model.data(index, Qt::BackgroundRole),
                      alignment.isValid()
                          ? Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask
                          : Qt::AlignLeft,
                      model.data(index, Qt::ForegroundRole));
            at.rx() += widths[column];
        }
    }
    const QSizeF size(at.x() - topLeft.x(), (model.rowCount() + 1) * rowHeight);
    // The frame drawn last and darker, so no cell's background covers an edge of it.
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(topLeft, size));
    p.restore();
    return size;
}
