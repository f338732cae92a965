// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"

class QLabel;

// Husband's pairs on the left, wife's on the right, each row joined by a dotted line.
class TfrmHusbWife : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmHusbWife(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
};

extern TfrmHusbWife *frmHusbWife;
