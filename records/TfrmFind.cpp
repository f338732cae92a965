#include "records/TfrmFind.h"

#include "app/TfrmMain.h"

TfrmFind *frmFind = nullptr;

TfrmFind::TfrmFind(QWidget *parent) : QDialog(parent)
{
    frmFind = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("PatSearch")));
}
