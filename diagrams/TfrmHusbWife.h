#pragma once

#include "app/MdiChild.h"

class TfrmHusbWife : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmHusbWife(QWidget *parent = nullptr);
};

extern TfrmHusbWife *frmHusbWife;
