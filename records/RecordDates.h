#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates as the records store them: the system's short date and long time formats.
class RecordDates
{
public:
    static QString shortDateFormat();
    // Hours, minutes and seconds as the system writes them, without a time zone.
    static QString longTimeFormat();
    static QString shortDate(const QDate &date);
    // "date time" cut to 20 characters; the time is left out at exactly midnight.
    static QString sheetTime(const QDateTime &when);
    // A birth date in the short date format on today's month and day.
    static bool isBirthday(const QString &birthDate, const QDate &today);

    // Exposed for the locale-independent tests.
    static QString withoutTimeZone(const QString &timeFormat);
};
