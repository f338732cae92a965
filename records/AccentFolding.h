// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Hungarian names compared as the search compares them: accents folded, case ignored.
class AccentFolding
{
public:
    // Hungarian accented letters to their plain letters; the length never changes.
    static QString FoldAccents(const QString &text);
    // Windows-1250 bytes of the folded text with a to z turned to capitals.
    static QByteArray searchKey(const QString &text);
    // Order of the lists: by search key, so that each accented letter stands beside
    // its plain letter and the incremental search finds its place; ties by case,
    // then by the exact text.
    static bool lessThan(const QString &a, const QString &b);
};
