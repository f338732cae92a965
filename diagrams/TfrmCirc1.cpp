// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmCirc1.h"

#include "app/TfrmMain.h"
#include "diagrams/PictureArt.h"

TfrmCirc1 *frmCirc1 = nullptr;

TfrmCirc1::TfrmCirc1(QWidget *parent)
    : PictureWindow(QStringLiteral("DiagCirc1"), PictureArt::kPicture1Size,
                    DiagramLayout::Picture1Seeds, parent)
{
    frmCirc1 = this;
}

QImage TfrmCirc1::Drawing(int scale) const
{
    return PictureArt::picture1(PictureArt::texts(*frmMain->catalogue()), scale);
}
