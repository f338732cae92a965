// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

// Finds a patient card by name: every card of the database folder in one sorted
// list, the selection following the beginning of the name as it is typed.
class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget *parent = nullptr);

    // The id of the line chosen with OK; kept between uses.
    QString SelectedId;

    QLineEdit *eFind = nullptr;
    QListWidget *List = nullptr;
    // Shown while no line begins with the typed text.
    QLabel *stNoMatch = nullptr;
    QPushButton *bOK = nullptr;
    QPushButton *bCancel = nullptr;
    QCheckBox *cbHideNames = nullptr;
    QTimer *tmrClose = nullptr;

    void FormShow();
    void eFindChange();
    void bOKClick();
    void tmrCloseTimer();
    void cbHideNamesClick(bool hide);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // While names are hidden only the selected line shows its name.
    void showLine(QListWidgetItem *item);

    QStringList m_lines;
};

extern TfrmFind *frmFind;
