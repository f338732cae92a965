#pragma once

#include <QDate>
#include <QString>

// Patient ids: "B", three letters of the date and a four-digit running number.
class PatientId
{
public:
    static constexpr int kLength = 8;
    static constexpr int kMaxNumber = 9999;

    static QString dateLetters(const QDate &date);
    static QString format(const QDate &date, int number);
    // The first id of the date whose .sza lies in neither folder; empty when all
    // 9999 are taken, since a fifth digit would not fit the lists.
    static QString NewPatientId(const QDate &today, const QString &dbPath, const QString &arcPath);
};
