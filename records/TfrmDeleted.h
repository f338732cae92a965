// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardHistory.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;

// The cards deleted from the database folder: each one's history can be looked at, and the
// card brought back, under its own id while that is free.
class TfrmDeleted : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDeleted(QWidget *parent = nullptr);

    // Lists the deleted cards anew.
    void FormShow();

    QTreeWidget *List = nullptr;
    QLabel *stNone = nullptr;
    QPushButton *bView = nullptr;
    QPushButton *bBringBack = nullptr;
    QPushButton *bClose = nullptr;

    void bViewClick();
    void bBringBackClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString text(const char *key) const;
    const CardHistory::DeletedCard *currentCard() const;
    void enableButtons();

    QList<CardHistory::DeletedCard> m_cards;
};

extern TfrmDeleted *frmDeleted;
