#include "diagrams/TfrmCirc2.h"

TfrmCirc2 *frmCirc2 = nullptr;

TfrmCirc2::TfrmCirc2(QWidget *parent)
    : PictureWindow(QStringLiteral("DiagCirc2"), QStringLiteral(":/assets/circ2.bmp"),
                    DiagramLayout::Picture2Seeds, parent)
{
    frmCirc2 = this;
}
