// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardSession.h"

#include <QMessageBox>
#include <functional>

class QWidget;

// What the cards window asks and tells about the outcomes of its card session.
class CardQuestions
{
public:
    CardQuestions(QWidget *parent, CardSession &session) : m_parent(parent), m_session(session) {}

    // Runs a record operation under the busy cursor; a card kept by another holder asks
    // whether to take it over, naming the workstation and since when.
    CardSession::Outcome run(const std::function<CardSession::Outcome()> &operation);
    // Shows what went wrong, `failure` for a failing folder; true when all was done.
    bool report(CardSession::Outcome outcome, const QString &failure = QString());
    // Reload, overwrite or cancel, for a card changed elsewhere.
    QMessageBox::StandardButton askOutsideChange();

private:
    bool askTakeOver();

    QWidget *m_parent;
    CardSession &m_session;
};
