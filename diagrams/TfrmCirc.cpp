#include "diagrams/TfrmCirc.h"

#include "app/TfrmMain.h"

TfrmCirc *frmCirc = nullptr;

TfrmCirc::TfrmCirc(QWidget *parent) : MdiChild(false, parent)
{
    frmCirc = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagCirc")));
}
