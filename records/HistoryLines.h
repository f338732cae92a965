// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/HistoryEntry.h"

#include <QList>
#include <QString>

class Catalogue;

// A card's change log as the history window lists it: newest first, each change in words of
// the catalogue's language, and what putting its version back would mean.
class HistoryLines
{
public:
    struct Line
    {
        QString when;
        QString host;
        QString user;
        QString what;
        // The entry's place in the log, oldest first.
        int entry = 0;
    };

    enum class PutBack
    {
        // Nothing was replaced, or the card itself is gone.
        None,
        // The file's (or the sheet's notes') earlier version.
        Version,
        // A deleted sheet, back at its old place.
        Sheet,
    };

    static QList<Line> lines(const QList<HistoryEntry> &entries, const Catalogue &catalogue);
    static QString what(const HistoryEntry &entry, const Catalogue &catalogue);
    // The file (or the sheet) a change concerns, as the cards window names it.
    static QString subject(const HistoryEntry &entry, const Catalogue &catalogue);
    static PutBack putBack(const HistoryEntry &entry);
    // Unambiguous in both languages, to the second, in local time.
    static QString time(const QDateTime &when);
};
