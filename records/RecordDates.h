// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// Dates as the records store them: the system's short date and long time formats.
class RecordDates
{
public:
    static QString shortDateFormat();
    // Hours, minutes and seconds as the system writes them, without a time zone.
    static QString longTimeFormat();
    static QString shortDate(const QDate &date);
    // "date time" in the system's formats, the time left out at exactly midnight; when that
    // holds letters or is longer than a sheet keeps, "2024.05.17. 14:03:05" instead.
    static QString sheetTime(const QDateTime &when, const QLocale &locale = QLocale::system());
    // A birth date on today's month and day, in the exact short date format or as
    // monthAndDay reads it.
    static bool isBirthday(const QString &birthDate, const QDate &today);
    // Year, month and day in the order of `dateFormat` (year, month, day when it starts
    // with a four-digit year), separated by any of ". - /" and blanks, with or without
    // leading zeros and a trailing point; the year is not kept
    // (the date returned lies in 2000). Nothing for any other text.
    static std::optional<QDate> monthAndDay(const QString &text, const QString &dateFormat);

    // Exposed for the locale-independent tests.
    static QString withoutTimeZone(const QString &timeFormat);
};
