// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

// Answers modal dialogs from a timer, since a test cannot click while exec() runs.
// Every dialog that opens is recorded with its text; each is answered in turn.
class ModalAnswer : public QObject
{
public:
    explicit ModalAnswer(QList<QMessageBox::StandardButton> answers = {QMessageBox::Ok})
        : m_answers(std::move(answers))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    const QStringList &texts() const { return m_texts; }
    int count() const { return m_texts.size(); }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == m_last)
            return;
        m_last = box;
        m_texts << box->text();
        const auto answer = m_answers.isEmpty() ? QMessageBox::Ok : m_answers.takeFirst();
        QAbstractButton *button = box->button(answer);
        if (button)
            button->click();
        else
            box->reject();
    }

    QList<QMessageBox::StandardButton> m_answers;
    QStringList m_texts;
    QPointer<QMessageBox> m_last;
    QTimer m_timer;
};
