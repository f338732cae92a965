#include "measure/TfrmMeres.h"

#include "app/TfrmMain.h"

TfrmMeres *frmMeres = nullptr;

TfrmMeres::TfrmMeres(QWidget *parent) : MdiChild(true, parent)
{
    frmMeres = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Meas")));
}
