// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which catalogue the program reads. The user's settings file may name a language
// ([Main] Language=en): its catalogue, tavimer-en.dat, is looked for beside the program and then
// where an installed package keeps its data. Without that key, or when that catalogue is
// missing, the catalogue named after the program is read, as always.
class CatalogueChoice
{
public:
    static QString path(const QString &programPath);
    // The user's language, lower case; empty when none is chosen.
    static QString language(const QString &programPath);

private:
    static QString languageCatalogue(const QString &programPath, const QString &language);
};
