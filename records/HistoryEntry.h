// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// One line of a card's change log: who changed what, where and when.
struct HistoryEntry
{
    QDateTime when;
    QString host;
    QString user;
    // Code word: "card-created", "personal", "sheet-deleted", ...
    QString action;
    // ".sza", ".anm", ".pan", ".kl" or empty.
    QString file;
    // 1-based, 0 = none.
    int sheet = 0;
    // File name in versions/ holding what this change replaced, or empty.
    QString version;
    QString digest;
    QString note;
};
