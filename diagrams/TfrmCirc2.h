#pragma once

#include "app/MdiChild.h"

class TfrmCirc2 : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmCirc2(QWidget *parent = nullptr);
};

extern TfrmCirc2 *frmCirc2;
