#pragma once

#include <QDialog>

// Moves cards between the database folder and the archive folder.
class TfrmArc : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmArc(QWidget *parent = nullptr);
};

extern TfrmArc *frmArc;
