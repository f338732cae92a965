// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

class QLabel;

// The full-screen splash shown while the program starts.
class TfrmStart : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmStart(QWidget *parent = nullptr);

    // Shows the text at once and holds the splash still for a moment, so that it can be read.
    // Work given as meanwhile runs inside the wait, after the repaint.
    void ShowStatus(const QString &text, const std::function<void()> &meanwhile = {});
    QString statusText() const;

    static constexpr int kWaitMs = 200;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Steps aside for every dialog: a message under a stay-on-top splash looks like a hang.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_panel = nullptr;
    QLabel *m_status = nullptr;
};

extern TfrmStart *frmStart;
