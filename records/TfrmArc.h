// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

// Moves cards between the database folder and the archive folder: the checked lines
// of one list go into the other folder.
class TfrmArc : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmArc(QWidget *parent = nullptr);

    QLabel *lblAct = nullptr;
    QListWidget *Active = nullptr;
    QToolButton *bAll1 = nullptr;
    QToolButton *bNone1 = nullptr;
    QPushButton *bArc = nullptr;
    QPushButton *bAkt = nullptr;
    QLabel *lblArc = nullptr;
    QListWidget *Archive = nullptr;
    QToolButton *bAll2 = nullptr;
    QToolButton *bNone2 = nullptr;
    QPushButton *bDeleted = nullptr;
    QPushButton *bClose = nullptr;
    QPushButton *bBackup = nullptr;
    QPushButton *bRestore = nullptr;
    QTimer *tmrShow = nullptr;
    QTimer *tmrArc = nullptr;

    void FormShow();
    void tmrShowTimer();
    void tmrArcTimer();
    void bArcClick();
    void bAktClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QToolButton *checkButton(bool checked, int x, int y);
    void fill(QListWidget *list, const QString &folder);
    void moveChecked(QListWidget *list, const QString &from, const QString &to);
    void setWaiting(bool waiting);

    bool m_waiting = false;
};

extern TfrmArc *frmArc;
