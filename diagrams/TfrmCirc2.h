// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/PictureWindow.h"

// The daily circulation through the six pair channels around the Yin circle.
class TfrmCirc2 : public PictureWindow
{
    Q_OBJECT

public:
    explicit TfrmCirc2(QWidget *parent = nullptr);

    QImage Drawing(int scale) const override;
};

extern TfrmCirc2 *frmCirc2;
