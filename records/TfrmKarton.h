#pragma once

#include "app/MdiChild.h"

class TfrmKarton : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmKarton(QWidget *parent = nullptr);

    // Name of the open card, empty when none is open.
    QString PatientName;
    bool isCardOpen() const { return false; }
    void bBezarClick() {}
};

extern TfrmKarton *frmKarton;
