// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmStart.h"

#include "app/TfrmMain.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QThread>

TfrmStart *frmStart = nullptr;

namespace {

QLabel *makeLabel(QWidget *parent, const QString &text, const QPoint &at, const QColor &color,
                  int pixelSize, bool bold)
{
    auto *label = new QLabel(text, parent);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(color.name()));
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

TfrmStart::TfrmStart(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    frmStart = this;
    setWindowTitle(QStringLiteral("Start"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());

    m_panel = new QWidget(this);
    m_panel->setFixedSize(329, 337);
    m_panel->move((width() - m_panel->width()) / 2, (height() - m_panel->height()) / 2);

    auto *logo = new QLabel(m_panel);
    logo->setGeometry(4, 1, 320, 320);
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(QPixmap(QStringLiteral(":/assets/logo.jpg")));

    makeLabel(m_panel, QStringLiteral("Tavimer v3.2"), {9, 297}, Qt::white, 13, true);
    m_status = makeLabel(m_panel, frmMain->CatalogueText("Main", "Initializing"), {9, 313},
                         QColor(0xC0, 0xC0, 0xC0), 11, false);
    m_status->setFixedWidth(195);
    makeLabel(m_panel, QStringLiteral("www.kelvaro.hu"), {209, 305}, Qt::blue, 13, true);
}

QString TfrmStart::statusText() const
{
    return m_status->text();
}

void TfrmStart::ShowStatus(const QString &text, const std::function<void()> &meanwhile)
{
    m_status->setText(text);
    repaint();
    // No events may run while the splash holds the message; sleeping leaves the core free.
    QElapsedTimer shown;
    shown.start();
    if (meanwhile)
        meanwhile();
    while (!shown.hasExpired(kWaitMs))
        QThread::msleep(static_cast<unsigned long>(kWaitMs + 1 - shown.elapsed()));
}

void TfrmStart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    qApp->installEventFilter(this);
}

void TfrmStart::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

bool TfrmStart::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && qobject_cast<QDialog *>(watched))
        hide();
    return QWidget::eventFilter(watched, event);
}
