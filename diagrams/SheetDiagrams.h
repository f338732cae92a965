// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"

#include <QLocale>
#include <QWidget>

// A stored set of readings drawn as its bar diagram above its circle diagram, for a sheet
// that is not in the measuring grid (an earlier version of a sheet, say).
class SheetDiagrams : public QWidget
{
    Q_OBJECT

public:
    explicit SheetDiagrams(QWidget *parent = nullptr);

    void setResult(const Evaluation::Result &result, const QLocale &numbers);
    const Evaluation::Result &result() const { return m_result; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Evaluation::Result m_result;
    QLocale m_numbers;
};
