// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/SheetDiagrams.h"

#include "diagrams/BarPainter.h"
#include "diagrams/DiagramLayout.h"
#include "diagrams/DiagramPainter.h"

#include <QPainter>

SheetDiagrams::SheetDiagrams(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(320, 360);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void SheetDiagrams::setResult(const Evaluation::Result &result, const QLocale &numbers)
{
    m_result = result;
    m_numbers = numbers;
    update();
}

void SheetDiagrams::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = rect();
    const QRectF bar(all.left(), all.top(), all.width(), all.height() * 0.45);
    BarPainter::paint(p, bar, m_result, m_numbers);
    // The circle keeps its shape at the largest size the rest of the widget allows.
    const QRectF target(all.left(), bar.bottom() + 4, all.width(), all.bottom() - bar.bottom() - 4);
    const QRectF &source = DiagramLayout::CircleBox;
    const qreal scale =
        std::min(target.width() / source.width(), target.height() / source.height());
    p.translate(target.center());
    p.scale(scale, scale);
    p.translate(-source.center());
    p.setPen(Qt::black);
    DiagramPainter::circle(p, m_result.ClassColor);
}
