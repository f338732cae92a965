// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardSession.h"
#include "records/KLRecord.h"

#include <QList>

class QLineEdit;
class TfrmKarton;

// What the cards window's fields and the measuring grid show of a card's records, and
// what the user typed there, in the records' own shape.
class KartonFields
{
public:
    // The personal fields in the order of the keys of the .sza file.
    static QList<QLineEdit *> personal(const TfrmKarton &k);
    static CardContent content(const TfrmKarton &k);
    static void show(TfrmKarton &k, const CardContent &card);
    static void clearPersonal(TfrmKarton &k);

    // The four notes of the sheet page, as the sheet file keeps them.
    static KLRecord notes(const TfrmKarton &k);
    // Empties the notes, then shows those of `sheet` when there is one.
    static void showNotes(TfrmKarton &k, const KLRecord *sheet);
    // The stored readings under the notes as the page shows them now, for a page.
    static KLRecord withShownNotes(const TfrmKarton &k, const KLRecord &stored);
    // Fields that must not take a line break, as a paste may bring one.
    static void keepOnOneLine(TfrmKarton &k);

    // The measuring grid's cells as readings: anything but a whole number is no reading.
    static void readGrid(KLRecord &sheet);
    static void showInGrid(const KLRecord &sheet);
};
