#include "diagrams/TfrmUSin.h"

#include "app/TfrmMain.h"

TfrmUSin *frmUSin = nullptr;

TfrmUSin::TfrmUSin(QWidget *parent) : MdiChild(true, parent)
{
    frmUSin = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagUSin")));
}
