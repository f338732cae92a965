#pragma once

#include "app/MdiChild.h"

class TfrmCirc1 : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmCirc1(QWidget *parent = nullptr);
};

extern TfrmCirc1 *frmCirc1;
