#include "records/TfrmArc.h"

#include "app/TfrmMain.h"

TfrmArc *frmArc = nullptr;

TfrmArc::TfrmArc(QWidget *parent) : QDialog(parent)
{
    frmArc = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Arc")));
}
