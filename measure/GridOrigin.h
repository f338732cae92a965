// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// Whose readings the result grid shows and when they were taken: the card and the sheet
// they were loaded from or saved into, or the start of a measurement not yet saved.
struct GridOrigin
{
    QString patientId;
    QString patientName;
    QString patientBirth;
    // The sheet's time as stored, or the measurement's time in the same form.
    QString taken;
    bool saved = false;

    static GridOrigin ofSheet(const QString &id, const QString &name, const QString &idopont,
                              const QString &birth = QString());
    // The patient whose card is open while measuring, if any; saving may still name another.
    static GridOrigin ofMeasurement(const QDateTime &started, const QString &id,
                                    const QString &name, const QString &birth = QString());
    // Nothing has been measured or loaded since the program started.
    bool isEmpty() const { return taken.isEmpty() && !saved; }
};
