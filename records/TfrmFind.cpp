#include "records/TfrmFind.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "records/CardListing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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
    List = new QListWidget(this);
    List->setGeometry(6, 40, 377, 241);
    List->setFont(listFont());
    List->setUniformItemSizes(true);
    bOK = new QPushButton(frmMain->CatalogueText("Find", "bOK"), this);
    bOK->setGeometry(118, 287, 75, 25);
    bCancel = new QPushButton(frmMain->CatalogueText("Find", "bCancel"), this);
    bCancel->setGeometry(198, 287, 75, 25);
    tmrClose = new QTimer(this);
    tmrClose->setSingleShot(true);
    tmrClose->setInterval(kCloseDelayMs);

    // Enter means OK wherever the focus is, so no button takes it over.
    bOK->setAutoDefault(false);
    bCancel->setAutoDefault(false);
    eFind->installEventFilter(this);
    List->installEventFilter(this);

    connect(eFind, &QLineEdit::textChanged, this, &TfrmFind::eFindChange);
    connect(bOK, &QPushButton::clicked, this, &TfrmFind::bOKClick);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tmrClose, &QTimer::timeout, this, &TfrmFind::tmrCloseTimer);
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
    m_lines = CardListing::lines(frmMain->DBPath);
    List->addItems(m_lines);
    if (List->count() == 0)
        tmrClose->start();
    List->setCurrentRow(0);
    // The earlier search stays in view, followed by the list, and the first key replaces it.
    eFindChange();
    eFind->setFocus();
    eFind->selectAll();
    QApplication::restoreOverrideCursor();
}

void TfrmFind::eFindChange()
{
    if (eFind->text().isEmpty() || m_lines.isEmpty())
        return;
    const int row = CardListing::findLine(m_lines, eFind->text());
    if (row >= 0)
        List->setCurrentRow(row);
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

bool TfrmFind::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bOKClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
