// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/KartonFields.h"

#include "measure/TfrmMeres.h"
#include "records/CardFile.h"
#include "records/OneLineValidator.h"
#include "records/TfrmKarton.h"

#include <QLineEdit>
#include <QPlainTextEdit>

QList<QLineEdit *> KartonFields::personal(const TfrmKarton &k)
{
    return {k.eNev,  k.eSzulDatum, k.eNeme, k.eLanyNev, k.eAnyja, k.eHelyseg,
            k.eIrsz, k.eCim,       k.eTel,  k.eFogl,    k.eTAJ,   k.eTMag,
            k.eSuly, k.eDiagn,     k.eBNO,  k.eID,      k.eDatum};
}

CardContent KartonFields::content(const TfrmKarton &k)
{
    CardContent card;
    for (const QLineEdit *field : personal(k))
        card.personal << field->text();
    card.anamnesis = k.mAnm->toPlainText();
    card.complaints = k.mPan->toPlainText();
    return card;
}

void KartonFields::show(TfrmKarton &k, const CardContent &card)
{
    const QList<QLineEdit *> fields = personal(k);
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(card.personal.value(i));
    k.mAnm->setPlainText(card.anamnesis);
    k.mPan->setPlainText(card.complaints);
}

void KartonFields::clearPersonal(TfrmKarton &k)
{
    for (QLineEdit *field : personal(k))
        field->clear();
}

KLRecord KartonFields::notes(const TfrmKarton &k)
{
    KLRecord sheet = withShownNotes(k, KLRecord());
    sheet.Statusz = CardFile::toFileText(sheet.Statusz);
    return sheet;
}

void KartonFields::showNotes(TfrmKarton &k, const KLRecord *sheet)
{
    k.eIdopont->clear();
    k.eHelyszin->clear();
    k.mStatusz->clear();
    k.eEgyeb->clear();
    if (!sheet)
        return;
    k.eIdopont->setText(sheet->Idopont);
    k.eHelyszin->setText(sheet->Helyszin);
    k.mStatusz->setPlainText(CardFile::toMemoText(sheet->Statusz));
    k.eEgyeb->setText(sheet->Egyeb);
}

KLRecord KartonFields::withShownNotes(const TfrmKarton &k, const KLRecord &stored)
{
    KLRecord sheet = stored;
    sheet.Idopont = k.eIdopont->text();
    sheet.Helyszin = k.eHelyszin->text();
    sheet.Statusz = k.mStatusz->toPlainText();
    sheet.Egyeb = k.eEgyeb->text();
    return sheet;
}

void KartonFields::keepOnOneLine(TfrmKarton &k)
{
    for (QLineEdit *field : personal(k) + QList<QLineEdit *>{k.eIdopont, k.eHelyszin, k.eEgyeb})
        field->setValidator(new OneLineValidator(field));
}

void KartonFields::readGrid(KLRecord &sheet)
{
    for (int row = 1; row <= 12; ++row) {
        for (int col = 1; col <= 2; ++col) {
            bool ok = false;
            const int reading = frmMeres->Cell(col, row).toInt(&ok, 10);
            sheet.Readings[KLRecord::readingIndex(col, row)] = ok ? reading : KLRecord::kNoReading;
        }
    }
}

void KartonFields::showInGrid(const KLRecord &sheet)
{
    for (int row = 1; row <= 12; ++row) {
        for (int col = 1; col <= 2; ++col) {
            const qint32 reading = sheet.Readings[KLRecord::readingIndex(col, row)];
            frmMeres->SetCell(col, row, reading < 0 ? QString() : QString::number(reading));
        }
    }
}
