// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmUSin.h"

#include "app/TfrmMain.h"
#include "diagrams/DiagramPainter.h"

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
    DiagramPainter::uSin(p, frmMain->ClassColor);
}
