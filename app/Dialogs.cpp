// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Dialogs.h"

QString Dialogs::title()
{
    return QStringLiteral("Tavimer");
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, title(), text, QMessageBox::Ok);
}

void Dialogs::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, title(), text, QMessageBox::Ok);
}

bool Dialogs::askYesNo(QWidget *parent, const QString &text)
{
    return QMessageBox::warning(parent, title(), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton Dialogs::askYesNoCancel(QWidget *parent, const QString &text)
{
    return QMessageBox::warning(parent, title(), text,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::Yes);
}

bool Dialogs::askOkCancel(QWidget *parent, const QString &text)
{
    return QMessageBox::warning(parent, title(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Ok) == QMessageBox::Ok;
}
