#pragma once

#include "app/MdiChild.h"

class TfrmBar : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmBar(QWidget *parent = nullptr);
};

extern TfrmBar *frmBar;
