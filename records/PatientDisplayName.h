// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the screen shows of a patient while names are kept out of sight of others in the
// room: initials in the lists, the id in captions. Prints and the open card keep the name.
class PatientDisplayName
{
public:
    // The first letter of every word, capitalised, each with a point: "K. A.".
    static QString initials(const QString &name);
    // The name, or while names are hidden the id; nothing when there is no name to show.
    static QString inCaption(const QString &name, const QString &id, bool hidden);
    // A list line with the name's initials, no birth date, and the id in its own column.
    static QString hiddenLine(const QString &line);
};
