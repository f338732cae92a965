#pragma once

#include <QDialog>

// Finds a patient card by name.
class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget *parent = nullptr);
};

extern TfrmFind *frmFind;
