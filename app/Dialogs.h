// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The program's modal message boxes, in one place so that every question looks
// alike and tests can answer them.
class Dialogs
{
public:
    static QString title();
    static void error(QWidget *parent, const QString &text);
    static void information(QWidget *parent, const QString &text);
    // Yes/No warning; true on Yes.
    static bool askYesNo(QWidget *parent, const QString &text);
    static QMessageBox::StandardButton askYesNoCancel(QWidget *parent, const QString &text);
    // OK/Cancel warning; true on OK.
    static bool askOkCancel(QWidget *parent, const QString &text);
};
