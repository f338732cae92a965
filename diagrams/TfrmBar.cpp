#include "diagrams/TfrmBar.h"

#include "app/TfrmMain.h"

TfrmBar *frmBar = nullptr;

TfrmBar::TfrmBar(QWidget *parent) : MdiChild(false, parent)
{
    frmBar = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagBar")));
}
