// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TfrmFind.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "records/AccentFolding.h"
#include "records/CardListing.h"
#include "records/PatientDisplayName.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

TfrmFind *frmFind = nullptr;

namespace {
constexpr int kCloseDelayMs = 10;

QFont listFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    return font;
}

// The incremental search stops at the first line not below the typed text, which need not
// begin with it.
bool beginsWith(const QString &line, const QString &typed)
{
    return AccentFolding::searchKey(line.left(typed.size())) == AccentFolding::searchKey(typed);
}
} // namespace

TfrmFind::TfrmFind(QWidget *parent) : QDialog(parent)
{
    frmFind = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("PatSearch")));
    setFixedSize(390, 318);

    auto *label = new QLabel(frmMain->CatalogueText("Find", "eFind"), this);
    label->setGeometry(8, 12, 60, 16);
    eFind = new QLineEdit(this);
    eFind->setGeometry(72, 8, 121, 24);
    stNoMatch = new QLabel(frmMain->CatalogueText("Find", "NoMatch"), this);
    // On a line of its own, under the search field and the box beside it.
    stNoMatch->setGeometry(8, 36, 375, 16);
    stNoMatch->hide();
    List = new QListWidget(this);
    List->setGeometry(6, 56, 377, 225);
    List->setFont(listFont());
    List->setUniformItemSizes(true);
    bOK = new QPushButton(frmMain->CatalogueText("Find", "bOK"), this);
    bOK->setGeometry(118, 287, 75, 25);
    bCancel = new QPushButton(frmMain->CatalogueText("Find", "bCancel"), this);
    bCancel->setGeometry(198, 287, 75, 25);
    cbHideNames = new QCheckBox(frmMain->CatalogueText("Find", "cbHideNames"), this);
    cbHideNames->setGeometry(210, 8, 173, 24);
    // A click leaves the focus in the search field, so typing goes on where it was.
    cbHideNames->setFocusPolicy(Qt::TabFocus);
    tmrClose = new QTimer(this);
    tmrClose->setSingleShot(true);
    tmrClose->setInterval(kCloseDelayMs);

    // Enter means OK wherever the focus is, so no button takes it over.
    bOK->setAutoDefault(false);
    bCancel->setAutoDefault(false);
    eFind->installEventFilter(this);
    List->installEventFilter(this);
    cbHideNames->installEventFilter(this);

    connect(eFind, &QLineEdit::textChanged, this, &TfrmFind::eFindChange);
    connect(bOK, &QPushButton::clicked, this, &TfrmFind::bOKClick);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tmrClose, &QTimer::timeout, this, &TfrmFind::tmrCloseTimer);
    connect(cbHideNames, &QCheckBox::toggled, this, &TfrmFind::cbHideNamesClick);
    connect(List, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *current, QListWidgetItem *previous) {
                showLine(previous);
                showLine(current);
            });
}

void TfrmFind::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    FormShow();
}

void TfrmFind::FormShow()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    List->clear();
    {
        const QSignalBlocker block(cbHideNames);
        cbHideNames->setChecked(frmMain->namesHidden());
    }
    m_lines = CardListing::lines(frmMain->DBPath);
    List->addItems(m_lines);
    stNoMatch->hide();
    if (List->count() == 0)
        tmrClose->start();
    if (cbHideNames->isChecked()) {
        // The next patient at the desk must not read the previous one's search or line.
        eFind->clear();
        List->setCurrentRow(-1);
        for (int row = 0; row < List->count(); ++row)
            showLine(List->item(row));
    } else {
        List->setCurrentRow(0);
    }
    // The earlier search stays in view, followed by the list, and the first key replaces it.
    eFindChange();
    eFind->setFocus();
    eFind->selectAll();
    QApplication::restoreOverrideCursor();
}

void TfrmFind::eFindChange()
{
    if (eFind->text().isEmpty() || m_lines.isEmpty()) {
        stNoMatch->hide();
        return;
    }
    const int row = CardListing::findLine(m_lines, eFind->text());
    const bool found = row >= 0 && beginsWith(m_lines[row], eFind->text());
    stNoMatch->setVisible(!found);
    List->setCurrentRow(found ? row : -1);
    if (!found)
        List->clearSelection();
}

void TfrmFind::bOKClick()
{
    const QListWidgetItem *item = List->currentItem();
    if (!item)
        return;
    SelectedId = CardListing::idOf(item->text());
    accept();
}

void TfrmFind::tmrCloseTimer()
{
    tmrClose->stop();
    Dialogs::information(this, frmMain->CatalogueText("Msg", "NoCard"));
    reject();
}

void TfrmFind::cbHideNamesClick(bool hide)
{
    frmMain->setNamesHidden(hide);
    for (int row = 0; row < List->count(); ++row)
        showLine(List->item(row));
}

void TfrmFind::showLine(QListWidgetItem *item)
{
    const int row = item ? List->row(item) : -1;
    if (row < 0 || row >= m_lines.size())
        return;
    const bool hidden = cbHideNames->isChecked() && item != List->currentItem();
    item->setText(hidden ? PatientDisplayName::hiddenLine(m_lines[row]) : m_lines[row]);
}

bool TfrmFind::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bOKClick();
            return true;
        }
        // The list moves under the typed text, so the hand stays in the search field.
        if (watched == eFind && (key == Qt::Key_Up || key == Qt::Key_Down ||
                                 key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
            QApplication::sendEvent(List, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
