// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The Hungarian text of a key that was added to the catalogue after its first edition, so that an
// older or a user's own catalogue without it still shows the program in Hungarian. Null when the
// key has no such default (the catalogue then shows the key itself).
QString catalogueDefault(const QString &section, const QString &key);

// Section and key of every built-in default, so that the shipped catalogues can be checked against
// them.
QList<QPair<QString, QString>> catalogueDefaultKeys();
