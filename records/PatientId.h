// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// Patient ids: "B", three letters of the date and a four-digit running number.
class PatientId
{
public:
    static constexpr int kLength = 8;
    static constexpr int kMaxNumber = 9999;

    static QString dateLetters(const QDate &date);
    static QString format(const QDate &date, int number);
    // Any file of the id, backups included, in either folder keeps the id taken: a
    // deleted card's sheets must never show under a new patient.
    // `except` names a file that does not count, such as a claim just made.
    static bool isTaken(const QString &id, const QString &dbPath, const QString &arcPath,
                        const QString &except = QString());
    // The first id of the date that is not taken; empty when all 9999 are, since a
    // fifth digit would not fit the lists.
    static QString NewPatientId(const QDate &today, const QString &dbPath, const QString &arcPath);
    // The first id of `date` after `after` that is not taken; empty when none is left.
    static QString nextFree(const QDate &date, const QString &after, const QString &dbPath,
                            const QString &arcPath);
};
