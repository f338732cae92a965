// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

// Plays a script against the modal windows that open one after another: each step
// is offered the window in front until it takes it (returns true). Message boxes are
// recorded with their text. A window shown again (the search dialog is reused) counts
// as a new one.
class ModalScript : public QObject
{
public:
    using Step = std::function<bool(QWidget *)>;

    explicit ModalScript(QList<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    static Step answer(QMessageBox::StandardButton button)
    {
        return [button](QWidget *widget) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box)
                return false;
            if (box->button(button))
                box->button(button)->click();
            else
                box->reject();
            return true;
        };
    }

    const QStringList &texts() const { return m_texts; }
    int remaining() const { return m_steps.size(); }

private:
    void poll()
    {
        if (m_last && !m_last->isVisible())
            m_last = nullptr;
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || m_steps.isEmpty())
            return;
        auto *box = qobject_cast<QMessageBox *>(modal);
        const QString text = box ? box->text() : QString();
        if (!m_steps.first()(modal))
            return;
        m_last = modal;
        m_steps.removeFirst();
        if (box)
            m_texts << text;
    }

    QList<Step> m_steps;
    QStringList m_texts;
    QPointer<QWidget> m_last;
    QTimer m_timer;
};
