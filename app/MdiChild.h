// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QMdiSubWindow;

// A working window inside the main window. It lives until the program ends:
// closing it from its title bar only minimises it.
class MdiChild : public QWidget
{
    Q_OBJECT

public:
    explicit MdiChild(bool bordered, QWidget *parent = nullptr);

    bool bordered() const { return m_bordered; }
    QMdiSubWindow *subWindow() const;

    // Asked before the window closes and before the program ends; false refuses.
    virtual bool FormCloseQuery() { return true; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_bordered;
};
