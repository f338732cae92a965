// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/KartonLayout.h"

#include "app/TfrmMain.h"
#include "records/SheetTabBar.h"
#include "records/TfrmKarton.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kLeft = 8;
constexpr int kRight = 352;
constexpr int kRow = 40;
constexpr int kLabelHeight = 15;
constexpr int kEditHeight = 21;

QLineEdit *addField(QWidget *page, const QString &label, int x, int y, int width,
                    bool small = false)
{
    auto *caption = new QLabel(label, page);
    if (small) {
        QFont font = caption->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        caption->setFont(font);
    }
    caption->setGeometry(x, y, std::max(width, 120), kLabelHeight);
    auto *edit = new QLineEdit(page);
    edit->setGeometry(x, y + kLabelHeight, width, kEditHeight);
    caption->setBuddy(edit);
    return edit;
}

} // namespace

void KartonLayout::buttons(TfrmKarton &k)
{
    k.pnlButtons = new QWidget(&k);
    auto button = [&k](const QString &caption, int index, void (TfrmKarton::*click)()) {
        auto *b = new QPushButton(caption, k.pnlButtons);
        b->setGeometry(0, index * kButtonHeight, kButtonWidth, kButtonHeight);
        QObject::connect(b, &QPushButton::clicked, &k, click);
        return b;
    };
    k.bUjbeteg =
        button(frmMain->CatalogueText("Karton", "bUjbeteg"), 0, &TfrmKarton::bUjbetegClick);
    k.bKeres = button(frmMain->CatalogueText("Karton", "bKeres"), 1, &TfrmKarton::bKeresClick);
    k.bSave = button(frmMain->CatalogueText("Karton", "bSave"), 2, &TfrmKarton::bSaveClick);
    k.bBezar = button(frmMain->CatalogueText("Karton", "bBezar"), 3, &TfrmKarton::bBezarClick);
    k.bTorol = button(frmMain->CatalogueText("Karton", "bTorol"), 4, &TfrmKarton::bTorolClick);
    k.bArc = button(frmMain->CatalogueText("Karton", "bArc"), 5, &TfrmKarton::bArcClick);
    k.bHistory =
        button(frmMain->CatalogueText("Karton", "bHistory"), 6, &TfrmKarton::bHistoryClick);
    k.bExport = button(frmMain->CatalogueText("Karton", "bExport"), 7, &TfrmKarton::bExportClick);
}

QWidget *KartonLayout::personalPage(TfrmKarton &k)
{
    auto *page = new QWidget();
    auto unit = [page](const QString &text, QLineEdit *field) {
        auto *label = new QLabel(text, page);
        label->setGeometry(field->geometry().right() + 6, field->y(), 40, kEditHeight);
    };
    int y = 6;
    k.eDatum = addField(page, frmMain->CatalogueText("Karton", "eDatum"), kLeft, y, 121);
    k.eID = addField(page, frmMain->CatalogueText("Karton", "eID"), kRight, y, 121);
    y += kRow;
    k.eNev = addField(page, frmMain->CatalogueText("Karton", "eNev"), kLeft, y, 329);
    k.eNeme = addField(page, frmMain->CatalogueText("Karton", "eNeme"), kRight, y, 121);
    y += kRow;
    k.eLanyNev = addField(page, frmMain->CatalogueText("Karton", "eLanyNev"), kLeft, y, 329);
    y += kRow;
    k.eSzulDatum = addField(page, frmMain->CatalogueText("Karton", "eSzulDatum"), kLeft, y, 121);
    y += kRow;
    k.eAnyja = addField(page, frmMain->CatalogueText("Karton", "eAnyja"), kLeft, y, 329);
    y += kRow;
    auto *address = new QLabel(frmMain->CatalogueText("Karton", "lblLakcim"), page);
    address->setGeometry(kLeft, y, 120, kLabelHeight);
    y += kLabelHeight;
    k.eHelyseg = addField(page, frmMain->CatalogueText("Karton", "eHelyseg"), kLeft, y, 161, true);
    k.eIrsz = addField(page, frmMain->CatalogueText("Karton", "eIrsz"), kLeft + 169, y, 81, true);
    k.eCim = addField(page, frmMain->CatalogueText("Karton", "eCim"), kLeft + 258, y, 215, true);
    y += kRow;
    k.eTel = addField(page, frmMain->CatalogueText("Karton", "eTel"), kLeft, y, 329);
    k.eTMag = addField(page, frmMain->CatalogueText("Karton", "eTMag"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eTMagUnit"), k.eTMag);
    y += kRow;
    k.eFogl = addField(page, frmMain->CatalogueText("Karton", "eFogl"), kLeft, y, 329);
    k.eSuly = addField(page, frmMain->CatalogueText("Karton", "eSuly"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eSulyUnit"), k.eSuly);
    y += kRow;
    k.eTAJ = addField(page, frmMain->CatalogueText("Karton", "eTAJ"), kLeft, y, 329);
    k.eTTIdx = addField(page, frmMain->CatalogueText("Karton", "eTTIdx"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eTTIdxUnit"), k.eTTIdx);
    y += kRow;
    k.eDiagn = addField(page, frmMain->CatalogueText("Karton", "eDiagn"), kLeft, y, 329);
    k.eBNO = addField(page, frmMain->CatalogueText("Karton", "eBNO"), kRight, y, 121);

    k.eID->setReadOnly(true);
    k.eTTIdx->setReadOnly(true);
    for (QLineEdit *skipped : {k.eTTIdx, k.eID, k.eDatum})
        skipped->setFocusPolicy(Qt::ClickFocus);
    const QList<QLineEdit *> order = {k.eNev,     k.eNeme, k.eLanyNev, k.eSzulDatum, k.eAnyja,
                                      k.eHelyseg, k.eIrsz, k.eCim,     k.eTel,       k.eFogl,
                                      k.eTAJ,     k.eTMag, k.eSuly,    k.eDiagn,     k.eBNO};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return page;
}

QWidget *KartonLayout::sheetPage(TfrmKarton &k)
{
    auto *page = new QWidget();
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    k.Lapok = new QWidget(page);
    pageLayout->addWidget(k.Lapok);
    auto *layout = new QVBoxLayout(k.Lapok);
    layout->setContentsMargins(0, 0, 0, 0);
    k.LapokTabs = new SheetTabBar(k.Lapok);
    layout->addWidget(k.LapokTabs);

    auto *body = new QVBoxLayout();
    body->setContentsMargins(8, 4, 8, 8);
    auto field = [body, &k](const QString &caption, QWidget *edit) {
        body->addWidget(new QLabel(caption, k.Lapok));
        body->addWidget(edit, 0, Qt::AlignLeft);
    };
    k.eIdopont = new QLineEdit(k.Lapok);
    k.eIdopont->setFixedWidth(161);
    field(frmMain->CatalogueText("Karton", "eIdopont"), k.eIdopont);
    k.eHelyszin = new QLineEdit(k.Lapok);
    k.eHelyszin->setFixedWidth(161);
    field(frmMain->CatalogueText("Karton", "eHelyszin"), k.eHelyszin);
    k.mStatusz = new QPlainTextEdit(k.Lapok);
    k.mStatusz->setFixedSize(577, 89);
    // Tab leaves the memo as it leaves every other field; a tab character is no status.
    k.mStatusz->setTabChangesFocus(true);
    field(frmMain->CatalogueText("Karton", "mStatusz"), k.mStatusz);
    k.eEgyeb = new QLineEdit(k.Lapok);
    k.eEgyeb->setFixedWidth(577);
    field(frmMain->CatalogueText("Karton", "eEgyeb"), k.eEgyeb);
    body->addStretch(1);
    auto *buttons = new QHBoxLayout();
    k.bDeleteKL = new QPushButton(frmMain->CatalogueText("Karton", "bDeleteKL"), k.Lapok);
    k.bLoadKL = new QPushButton(frmMain->CatalogueText("Karton", "bLoadKL"), k.Lapok);
    k.bReport = new QPushButton(frmMain->CatalogueText("Karton", "Report"), k.Lapok);
    for (QPushButton *b : {k.bDeleteKL, k.bLoadKL, k.bReport}) {
        b->setFixedSize(KartonLayout::kButtonWidth, KartonLayout::kButtonHeight);
        buttons->addWidget(b);
    }
    k.bCompare = new QPushButton(frmMain->CatalogueText("Karton", "bCompare"), k.Lapok);
    k.bCompare->setFixedSize(std::max(KartonLayout::kButtonWidth, k.bCompare->sizeHint().width()),
                             KartonLayout::kButtonHeight);
    buttons->addWidget(k.bCompare);
    buttons->addStretch(1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    k.Lapok->hide();

    return page;
}
