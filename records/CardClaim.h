// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardLock.h"

#include <QDate>
#include <QString>
#include <memory>

// A new card's id is claimed by creating its .sza only if absent, which network shares
// honour too, so two workstations making a card on one day never share an id.
class CardClaim
{
public:
    // `wanted` when still free, else the next free id of `date`, its .sza created empty while
    // its lock is held; `lock` keeps holding it until the card is written, so that an empty
    // .sza whose lock is free is known to be a claim left unfinished. Empty when no id is
    // left or the folder takes no new file.
    static QString claim(const QString &wanted, const QDate &date, const QString &dbPath,
                         const QString &arcPath, std::unique_ptr<CardLock> &lock);
    // True only when this call created the file.
    static bool createIfAbsent(const QString &path);
};
