// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The card window's derived texts.
class CardText
{
public:
    // weight / (height / 100)^2 as " 22.86"; empty unless both are whole numbers
    // and the height is not 0.
    static QString bodyMassIndex(const QString &heightCm, const QString &weightKg);
    // The main window's title cut at its first " -", then " - name" when a name is given.
    static QString captionWithPatient(const QString &title, const QString &name);
};
