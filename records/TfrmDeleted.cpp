// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TfrmDeleted.h"

#include "app/Dialogs.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "platform/FileError.h"
#include "records/CardSession.h"
#include "records/HistoryLines.h"
#include "records/PatientDisplayName.h"
#include "records/TfrmHistory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

TfrmDeleted *frmDeleted = nullptr;

TfrmDeleted::TfrmDeleted(QWidget *parent) : QDialog(parent)
{
    frmDeleted = this;
    setWindowTitle(text("DeletedTitle"));
    setSizeGripEnabled(true);
    resize(640, 400);

    List = new QTreeWidget(this);
    List->setColumnCount(4);
    List->setHeaderLabels({text("Name"), text("Birth"), text("Deleted"), text("Id")});
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setAllColumnsShowFocus(true);
    stNone = new QLabel(text("NoDeleted"), this);
    bView = new QPushButton(text("BtnView"), this);
    bBringBack = new QPushButton(text("BtnBringBackCard"), this);
    bClose = new QPushButton(text("BtnClose"), this);
    for (QPushButton *button : {bView, bBringBack, bClose})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout();
    buttons->addWidget(bView);
    buttons->addWidget(bBringBack);
    buttons->addStretch(1);
    buttons->addWidget(bClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(List, 1);
    layout->addWidget(stNone);
    layout->addLayout(buttons);

    connect(List, &QTreeWidget::currentItemChanged, this, &TfrmDeleted::enableButtons);
    connect(List, &QTreeWidget::itemDoubleClicked, this, &TfrmDeleted::bViewClick);
    connect(bView, &QPushButton::clicked, this, &TfrmDeleted::bViewClick);
    connect(bBringBack, &QPushButton::clicked, this, &TfrmDeleted::bBringBackClick);
    connect(bClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(frmMain, &TfrmMain::namesHiddenChanged, this, [this] {
        if (isVisible())
            FormShow();
    });
}

QString TfrmDeleted::text(const char *key) const
{
    return frmMain->CatalogueText(QStringLiteral("History"), QLatin1String(key));
}

void TfrmDeleted::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmDeleted::FormShow()
{
    List->clear();
    m_cards = CardHistory::deletedCards(frmMain->DBPath);
    const bool hidden = frmMain->namesHidden();
    for (int i = 0; i < m_cards.size(); ++i) {
        const CardHistory::DeletedCard &card = m_cards[i];
        // Like the search: initials and no birth date while names are hidden.
        auto *item = new QTreeWidgetItem(
            List, {hidden ? PatientDisplayName::initials(card.name) : card.name,
                   hidden ? QString() : card.birthDate, HistoryLines::time(card.deleted), card.id});
        item->setData(0, Qt::UserRole, i);
    }
    for (int col = 0; col < List->columnCount(); ++col)
        List->resizeColumnToContents(col);
    // Room for a name typed later; the ids stay in view.
    List->setColumnWidth(0, std::max(List->columnWidth(0), 220));
    stNone->setVisible(m_cards.isEmpty());
    if (!m_cards.isEmpty())
        List->setCurrentItem(List->topLevelItem(0));
    enableButtons();
}

const CardHistory::DeletedCard *TfrmDeleted::currentCard() const
{
    const QTreeWidgetItem *item = List->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(0, Qt::UserRole).toInt();
    return index >= 0 && index < m_cards.size() ? &m_cards[index] : nullptr;
}

void TfrmDeleted::enableButtons()
{
    const bool any = currentCard() != nullptr;
    bView->setEnabled(any);
    bBringBack->setEnabled(any);
}

void TfrmDeleted::bViewClick()
{
    if (const CardHistory::DeletedCard *card = currentCard())
        frmHistory->OpenDeleted(frmMain->DBPath, card->folderName, card->id, card->name);
}

void TfrmDeleted::bBringBackClick()
{
    const CardHistory::DeletedCard *chosen = currentCard();
    if (!chosen)
        return;
    const CardHistory::DeletedCard card = *chosen;
    if (!Dialogs::askYesNo(this, text("AskBringBackCard").replace(QLatin1String("%1"), card.id)))
        return;
    FileError::clear();
    QString id;
    QString failure;
    const CardSession::Outcome outcome = CardSession::bringBackCard(
        frmMain->DBPath, frmMain->ArcPath, card.folderName, &id, &failure);
    if (outcome == CardSession::Outcome::Done) {
        SupportLog::write(QStringLiteral("card %1: brought back as %2").arg(card.id, id));
        Dialogs::information(this, id == card.id
                                       ? text("BackSameId").replace(QLatin1String("%1"), id)
                                       : text("BackNewId")
                                             .replace(QLatin1String("%1"), id)
                                             .replace(QLatin1String("%2"), card.id));
    } else {
        QString message = text("BringBackErr").replace(QLatin1String("%1"), card.id);
        // Which file and the system's reason, when there is one to tell.
        if (!failure.isEmpty())
            message += QLatin1Char('\r') + failure;
        else if (!FileError::last().isEmpty())
            message += QLatin1Char('\r') + FileError::last();
        SupportLog::write(QStringLiteral("card %1: not brought back: %2").arg(card.id, message));
        Dialogs::error(this, message);
    }
    FormShow();
}
