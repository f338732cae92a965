// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmCirc.h"

#include "app/TfrmMain.h"
#include "diagrams/DiagramPainter.h"

#include <QPainter>

TfrmCirc *frmCirc = nullptr;

TfrmCirc::TfrmCirc(QWidget *parent) : MdiChild(false, parent)
{
    frmCirc = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagCirc")));
}

void TfrmCirc::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    frmMain->Evaluate();
    DiagramPainter::circle(p, frmMain->ClassColor);
}
