// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"

// The twelve meridians on a circle, each a two-coloured symbol: left side above, right below.
class TfrmCirc : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmCirc(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

extern TfrmCirc *frmCirc;
