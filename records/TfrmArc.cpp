// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TfrmArc.h"

#include "app/Dialogs.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "platform/FileError.h"
#include "records/BackupActions.h"
#include "records/CardArchive.h"
#include "records/CardListing.h"
#include "records/PatientDisplayName.h"
#include "records/TfrmDeleted.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

TfrmArc *frmArc = nullptr;

namespace {

constexpr int kShowDelayMs = 10;
constexpr int kArcDelayMs = 250;
// The list repaints after this many lines, so that it grows visibly without a
// repaint per line on a folder of thousands of cards.
constexpr int kLinesPerRepaint = 25;

QFont listFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    return font;
}

// Three small check boxes, all ticked or all empty.
QIcon checkIcon(bool checked)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const QRectF box(2 + i * 3, 2 + i * 7, 12, 6);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        if (checked) {
            painter.setPen(QPen(QColor(0, 110, 0), 1.6));
            painter.drawLine(box.topLeft() + QPointF(2, 3), box.topLeft() + QPointF(5, 5.5));
            painter.drawLine(box.topLeft() + QPointF(5, 5.5), box.topLeft() + QPointF(11, 0.5));
        }
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.drawLine(QPointF(box.right() + 3, box.center().y()), QPointF(22, box.center().y()));
    }
    return QIcon(pixmap);
}

void setAllChecked(QListWidget *list, bool checked)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QString caption(const char *key)
{
    return frmMain->CatalogueText(QStringLiteral("Caption"), QLatin1String(key));
}

QString moveFailure(CardSession::Outcome outcome, const QString &culprit)
{
    switch (outcome) {
    case CardSession::Outcome::InUse:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("ArcInUse"));
    case CardSession::Outcome::TargetTaken:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("ArcIdTaken"));
    case CardSession::Outcome::Unfinished:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("ArcUnfinished"));
    case CardSession::Outcome::Split:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("CardSplit"))
            .replace(QLatin1String("%s"), culprit);
    case CardSession::Outcome::NotRegularFile:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("ArcNotFile"))
            .replace(QLatin1String("%s"), culprit);
    default:
        return frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("CopyErr"));
    }
}

} // namespace

TfrmArc::TfrmArc(QWidget *parent) : QDialog(parent)
{
    frmArc = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Arc")));
    setFixedSize(469, 429);

    lblAct = new QLabel(caption("Act"), this);
    lblAct->setGeometry(16, 8, 377, 16);
    Active = new QListWidget(this);
    Active->setGeometry(16, 26, 377, 137);
    bAll1 = checkButton(true, 401, 26);
    bNone1 = checkButton(false, 401, 64);
    bArc = new QPushButton(caption("BtnArc"), this);
    bArc->setGeometry(16, 172, 150, 28);
    bAkt = new QPushButton(caption("BtnAct"), this);
    bAkt->setGeometry(174, 172, 150, 28);
    // Deleted cards are the other place a card may be brought back from.
    bDeleted = new QPushButton(
        frmMain->CatalogueText(QStringLiteral("History"), QStringLiteral("BtnDeleted")), this);
    bDeleted->setGeometry(332, 172, 121, 28);
    lblArc = new QLabel(caption("Arc"), this);
    lblArc->setGeometry(16, 210, 378, 16);
    Archive = new QListWidget(this);
    Archive->setGeometry(16, 228, 378, 137);
    bAll2 = checkButton(true, 401, 228);
    bNone2 = checkButton(false, 401, 266);
    bClose = new QPushButton(caption("Close"), this);
    bClose->setGeometry(186, 385, 97, 30);
    // The archive window deals with the folder as a whole, and so do backups.
    bBackup = new QPushButton(
        frmMain->CatalogueText(QStringLiteral("Backup"), QStringLiteral("BtnBackup")), this);
    bBackup->setGeometry(16, 385, 160, 30);
    bRestore = new QPushButton(
        frmMain->CatalogueText(QStringLiteral("Backup"), QStringLiteral("BtnRestore")), this);
    bRestore->setGeometry(293, 385, 160, 30);
    for (QListWidget *list : {Active, Archive}) {
        list->setFont(listFont());
        list->setUniformItemSizes(true);
    }
    for (QPushButton *button : {bArc, bAkt, bDeleted, bClose, bBackup, bRestore})
        button->setAutoDefault(false);

    tmrShow = new QTimer(this);
    tmrShow->setSingleShot(true);
    tmrShow->setInterval(kShowDelayMs);
    tmrArc = new QTimer(this);
    tmrArc->setSingleShot(true);
    tmrArc->setInterval(kArcDelayMs);

    connect(bAll1, &QToolButton::clicked, this, [this] { setAllChecked(Active, true); });
    connect(bNone1, &QToolButton::clicked, this, [this] { setAllChecked(Active, false); });
    connect(bAll2, &QToolButton::clicked, this, [this] { setAllChecked(Archive, true); });
    connect(bNone2, &QToolButton::clicked, this, [this] { setAllChecked(Archive, false); });
    connect(bArc, &QPushButton::clicked, this, &TfrmArc::bArcClick);
    connect(bAkt, &QPushButton::clicked, this, &TfrmArc::bAktClick);
    connect(bDeleted, &QPushButton::clicked, this, [this] {
        frmDeleted->exec();
        FormShow();
    });
    connect(bClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(bBackup, &QPushButton::clicked, this, [this] { BackupActions::backup(this); });
    connect(bRestore, &QPushButton::clicked, this, [this] {
        if (BackupActions::restore(this))
            FormShow();
    });
    connect(tmrShow, &QTimer::timeout, this, &TfrmArc::tmrShowTimer);
    connect(tmrArc, &QTimer::timeout, this, &TfrmArc::tmrArcTimer);
}

QToolButton *TfrmArc::checkButton(bool checked, int x, int y)
{
    auto *button = new QToolButton(this);
    button->setIcon(checkIcon(checked));
    button->setIconSize(QSize(24, 24));
    button->setGeometry(x, y, 34, 34);
    return button;
}

void TfrmArc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TfrmArc::done(int result)
{
    tmrShow->stop();
    tmrArc->stop();
    setWaiting(false);
    QDialog::done(result);
}

void TfrmArc::setWaiting(bool waiting)
{
    if (waiting == m_waiting)
        return;
    m_waiting = waiting;
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TfrmArc::FormShow()
{
    tmrShow->start();
}

void TfrmArc::fill(QListWidget *list, const QString &folder)
{
    const QStringList lines = CardListing::lines(folder);
    for (int i = 0; i < lines.size(); ++i) {
        auto *item = new QListWidgetItem(
            frmMain->namesHidden() ? PatientDisplayName::hiddenLine(lines[i]) : lines[i], list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        if (i % kLinesPerRepaint == 0)
            repaint();
    }
}

void TfrmArc::tmrShowTimer()
{
    tmrShow->stop();
    setWaiting(true);
    Active->clear();
    Archive->clear();
    repaint();
    fill(Active, frmMain->DBPath);
    QDir().mkpath(frmMain->ArcPath);
    CardArchive::runSiteCommand(frmMain->ArcPath);
    tmrArc->start();
}

void TfrmArc::tmrArcTimer()
{
    tmrArc->stop();
    fill(Archive, frmMain->ArcPath);
    setWaiting(false);
}

void TfrmArc::moveChecked(QListWidget *list, const QString &from, const QString &to)
{
    if (list->count() > 0) {
        bool anyChecked = false;
        for (int i = 0; i < list->count(); ++i)
            anyChecked = anyChecked || list->item(i)->checkState() == Qt::Checked;
        QListWidgetItem *selected = list->currentItem();
        if (!anyChecked && selected && selected->isSelected())
            selected->setCheckState(Qt::Checked);
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->checkState() != Qt::Checked)
                continue;
            const QString id = CardListing::idOf(list->item(i)->text());
            QString culprit;
            FileError::clear();
            const auto moved = CardArchive::moveCard(id, from, to, frmMain->DBPath, &culprit);
            if (moved == CardSession::Outcome::Done)
                continue;
            QString message = moveFailure(moved, culprit) + QLatin1Char(' ') + id;
            if (!FileError::last().isEmpty())
                message += QLatin1Char('\r') + FileError::last();
            SupportLog::write(
                QStringLiteral("card %1: not moved from %2 to %3: %4").arg(id, from, to, message));
            Dialogs::error(this, message);
        }
    }
    FormShow();
}

void TfrmArc::bArcClick()
{
    moveChecked(Active, frmMain->DBPath, frmMain->ArcPath);
}

void TfrmArc::bAktClick()
{
    moveChecked(Archive, frmMain->ArcPath, frmMain->DBPath);
}
