// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Qt's own texts (the buttons of message boxes, the printer dialog) in the catalogue's
// language, from the translations the system has installed for Qt.
class QtTranslations
{
public:
    // Replaces the ones installed before; false when the system has none for the language,
    // in which case Qt's texts stay as they are built in.
    static bool install(const QString &language);
};
