// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmHusbWife.h"

#include "app/TfrmMain.h"
#include "diagrams/DiagramPainter.h"

#include <QLabel>
#include <QPainter>

TfrmHusbWife *frmHusbWife = nullptr;

namespace {
QLabel *heading(const QString &text, int left, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(19);
    label->setFont(font);
    label->move(left, 16);
    label->adjustSize();
    return label;
}
} // namespace

TfrmHusbWife::TfrmHusbWife(QWidget *parent) : MdiChild(false, parent)
{
    frmHusbWife = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("DiagHusbWife")));
    Label1 = heading(frmMain->CatalogueText("HusbWife", "Label1"), 240, this);
    Label2 = heading(frmMain->CatalogueText("HusbWife", "Label2"), 416, this);
}

void TfrmHusbWife::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    frmMain->Evaluate();
    DiagramPainter::husbandWife(p, frmMain->ClassColor);
}
