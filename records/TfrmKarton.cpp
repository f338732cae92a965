#include "records/TfrmKarton.h"

#include "app/TfrmMain.h"

TfrmKarton *frmKarton = nullptr;

TfrmKarton::TfrmKarton(QWidget *parent) : MdiChild(true, parent)
{
    frmKarton = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Cards")));
}
