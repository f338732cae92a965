#pragma once

#include "app/MdiChild.h"

class TfrmCirc : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmCirc(QWidget *parent = nullptr);
};

extern TfrmCirc *frmCirc;
