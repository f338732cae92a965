#pragma once

#include "app/MdiChild.h"

class TfrmUSin : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmUSin(QWidget *parent = nullptr);
};

extern TfrmUSin *frmUSin;
