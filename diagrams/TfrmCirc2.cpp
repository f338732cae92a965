// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmCirc2.h"

#include "app/TfrmMain.h"
#include "diagrams/PictureArt.h"

TfrmCirc2 *frmCirc2 = nullptr;

TfrmCirc2::TfrmCirc2(QWidget *parent)
    : PictureWindow(QStringLiteral("DiagCirc2"), PictureArt::kPicture2Size,
                    DiagramLayout::Picture2Seeds, parent)
{
    frmCirc2 = this;
}

QImage TfrmCirc2::Drawing(int scale) const
{
    return PictureArt::picture2(PictureArt::texts(*frmMain->catalogue()), scale);
}
