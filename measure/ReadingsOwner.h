// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measure/GridOrigin.h"

#include <QString>

class Catalogue;

// Whose readings the result grid holds, as the screen and the paper name them, and whether
// they may become a new sheet of a card: readings already on a sheet, or measured while
// another card was open, are stored again only on the user's word.
class ReadingsOwner
{
public:
    enum class Decision
    {
        // A fresh measurement of this card, or of no card: stored as taken today.
        Save,
        // Already a sheet of this card.
        AskStoredAgain,
        // A sheet of another card.
        AskStoredOther,
        // Measured while another card was open.
        AskMeasuredOther,
    };

    struct Patient
    {
        QString id;
        QString name;
        QString birth;
    };

    static Decision decide(const GridOrigin &origin, const QString &cardId);
    // The question for a decision other than Save, naming both patients.
    static QString question(Decision decision, const GridOrigin &origin, const Patient &card,
                            bool namesHidden, const Catalogue &catalogue);
    // The time the new sheet keeps: stored readings keep theirs, a measurement is dated now.
    static QString sheetTime(const GridOrigin &origin, const QDateTime &now);

    // "name (id, born date)"; the id alone while names are hidden; empty without a card.
    static QString label(const Patient &patient, bool namesHidden, const Catalogue &catalogue);
    static Patient patientOf(const GridOrigin &origin);
    // Whose the readings are, or that they are on no card yet; empty before any.
    static QString owner(const GridOrigin &origin, bool namesHidden, const Catalogue &catalogue);
    // A window's title with the owner of the grid's readings after it.
    static QString caption(const QString &title, const GridOrigin &origin, bool namesHidden,
                           const Catalogue &catalogue);
};
