// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/PictureWindow.h"

// The daily circulation through the six pairs of successive Yin and Yang meridians.
class TfrmCirc1 : public PictureWindow
{
    Q_OBJECT

public:
    explicit TfrmCirc1(QWidget *parent = nullptr);

    QImage Drawing(int scale) const override;
};

extern TfrmCirc1 *frmCirc1;
