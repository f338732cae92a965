#include "diagrams/TfrmCirc.h"

#include "app/TfrmMain.h"
#include "diagrams/DiagramLayout.h"

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
    const auto &places = DiagramLayout::Circle;
    const int count = static_cast<int>(places.size());
    for (int i = 0; i < count / 2; ++i) {
        const auto &a = places[i];
        const auto &b = places[i + count / 2];
        frmMain->DrawSolidLine(a.x, a.y, b.x, b.y, &p);
    }
    for (int i = 0; i < count; ++i) {
        const auto &a = places[i];
        const auto &b = places[(i + 1) % count];
        frmMain->DrawSolidLine(a.x, a.y, b.x, b.y, &p);
    }
    for (const auto &place : places) {
        frmMain->DrawSideSymbol(place.x, place.y, frmMain->ClassColor[place.meridian][0],
                                frmMain->ClassColor[place.meridian][1],
                                QString::fromLatin1(place.text), &p);
    }
}
