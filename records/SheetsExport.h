// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardLock.h"
#include "records/ExportResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every sheet of every card, in the database folder and its archive, as one CSV table for
// research (RFC 4180, UTF-8, header row, CR LF). Pseudonymous tables name no patient: the id
// becomes a keyed digest that is the same in every export from every workstation, the birth
// date only its year, and the free-text notes are left out.
class SheetsExport
{
public:
    static ExportResult build(const QString &dbPath, bool pseudonymous, QByteArray &csv,
                              int lockWaitMs = CardLock::kWaitMs);
    // build(), then the table into `target` (see ExportFile for `replace`).
    static ExportResult write(const QString &dbPath, const QString &target, bool pseudonymous,
                              bool replace, int lockWaitMs = CardLock::kWaitMs);

    static QStringList header(bool pseudonymous);
    // Quoted when it holds a comma, a quote or a line break; quotes doubled.
    static QString field(const QString &text);
    // "P" and 16 hex digits of HMAC-SHA256 of the id under the folder's key.
    static QString pseudonym(const QByteArray &key, const QString &id);
    // The first four-digit number of a birth date, which is free text; empty when none.
    static QString birthYear(const QString &birthDate);
    // The key in the database folder's history, made once at random when there is none yet;
    // two workstations making it at once end with the same one.
    static ExportResult pseudonymKey(const QString &dbPath, QByteArray &key);
    static QString keyPath(const QString &dbPath);
};
