#include "diagrams/TfrmCirc1.h"

TfrmCirc1 *frmCirc1 = nullptr;

TfrmCirc1::TfrmCirc1(QWidget *parent)
    : PictureWindow(QStringLiteral("DiagCirc1"), QStringLiteral(":/assets/circ1.bmp"),
                    DiagramLayout::Picture1Seeds, parent)
{
    frmCirc1 = this;
}
