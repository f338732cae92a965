// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"

#include <QLocale>
#include <QRectF>

class QPainter;

// The bar diagram as lines and text, for a page: the 24 deviations in their class colours
// against the five class thresholds, on the fixed range -50 to 50.
class BarPainter
{
public:
    static void paint(QPainter &p, const QRectF &area, const Evaluation::Result &result,
                      const QLocale &numbers = QLocale());
};
