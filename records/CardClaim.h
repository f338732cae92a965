// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// A new card's id is claimed by creating its .sza only if absent, which network shares
// honour too, so two workstations making a card on one day never share an id.
class CardClaim
{
public:
    // `wanted` when still free, else the next free id of `date`, its .sza created empty.
    // Empty when no id is left or the folder takes no new file.
    static QString claim(const QString &wanted, const QDate &date, const QString &dbPath,
                         const QString &arcPath);
    // True only when this call created the file.
    static bool createIfAbsent(const QString &path);
};
