// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MdiChild.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QTimer>

MdiChild::MdiChild(bool bordered, QWidget *parent) : QWidget(parent), m_bordered(bordered) {}

QMdiSubWindow *MdiChild::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void MdiChild::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!FormCloseQuery())
        return;
    if (QMdiSubWindow *sub = subWindow())
        QTimer::singleShot(0, sub, &QMdiSubWindow::showMinimized);
}
