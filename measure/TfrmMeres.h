#pragma once

#include "app/MdiChild.h"

class DeviceLink;
class QLabel;
class QTableWidget;

class TfrmMeres : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmMeres(QWidget *parent = nullptr);

    // The result grid as the rest of the program sees it: column 1 left, 2 right,
    // rows 1 to 12 the meridians; row 0 and column 0 are headings.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);

    void DisconnectPort();

    QLabel *stValue = nullptr;
    QTableWidget *grMeres = nullptr;
    DeviceLink *Link = nullptr;
};

extern TfrmMeres *frmMeres;
