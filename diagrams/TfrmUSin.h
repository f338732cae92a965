// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"

// The six coupled pairs on a pentagon: a ring of solid lines and a star of dotted ones.
class TfrmUSin : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmUSin(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

extern TfrmUSin *frmUSin;
