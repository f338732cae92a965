// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diagrams/Evaluation.h"

#include <QList>
#include <QLocale>
#include <QString>

class Catalogue;
struct KLRecord;

// What the report of one treatment sheet holds: the card's data, the sheet's notes and the
// evaluation of the sheet's own readings, with every word in the catalogue's language.
class PatientReport
{
public:
    struct Patient
    {
        QString name;
        QString id;
        QString birthDate;
    };
    struct Row
    {
        QString meridian;
        QString side;
        QString reading; // a dash when the sheet holds none
        QString deviation;
        quint32 colour;
        QString className;
    };

    static PatientReport build(const Patient &patient, const KLRecord &sheet,
                               const Catalogue &catalogue);
    static QString className(quint32 colour, const Catalogue &catalogue);
    // Numbers and dates in the catalogue's language, whatever the system's is.
    static QLocale locale(const Catalogue &catalogue);

    Patient patient;
    QString time;
    QString place;
    QString status;
    QString remark;
    Evaluation::Result result;
    // Meridian by meridian in grid order, left before right.
    QList<Row> rows;
    QString mean;
    QString reference;
    // Says that the sheet holds no readings; empty when it holds some.
    QString notice;
    QLocale numbers;
};
