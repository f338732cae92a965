#include "diagrams/TfrmUSin.h"

#include "app/TfrmMain.h"
#include "diagrams/PairDiagram.h"

#include <QPainter>

TfrmUSin *frmUSin = nullptr;

TfrmUSin::TfrmUSin(QWidget *parent) : MdiChild(true, parent)
{
    frmUSin = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagUSin")));
}

void TfrmUSin::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    frmMain->Evaluate();
    PairDiagram::paint(p, DiagramLayout::USinLines, DiagramLayout::USinPairs);
}
