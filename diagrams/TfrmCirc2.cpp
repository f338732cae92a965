#include "diagrams/TfrmCirc2.h"

#include "app/TfrmMain.h"

TfrmCirc2 *frmCirc2 = nullptr;

TfrmCirc2::TfrmCirc2(QWidget *parent) : MdiChild(false, parent)
{
    frmCirc2 = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagCirc2")));
}
