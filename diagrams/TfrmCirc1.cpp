#include "diagrams/TfrmCirc1.h"

#include "app/TfrmMain.h"

TfrmCirc1 *frmCirc1 = nullptr;

TfrmCirc1::TfrmCirc1(QWidget *parent) : MdiChild(false, parent)
{
    frmCirc1 = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagCirc1")));
}
