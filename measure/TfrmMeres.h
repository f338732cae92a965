#pragma once

#include "app/MdiChild.h"

class TfrmMeres : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmMeres(QWidget *parent = nullptr);

    void DisconnectPort() {}
};

extern TfrmMeres *frmMeres;
