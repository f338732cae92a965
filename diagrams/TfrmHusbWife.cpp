#include "diagrams/TfrmHusbWife.h"

#include "app/TfrmMain.h"

TfrmHusbWife *frmHusbWife = nullptr;

TfrmHusbWife::TfrmHusbWife(QWidget *parent) : MdiChild(false, parent)
{
    frmHusbWife = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagHusbWife")));
}
