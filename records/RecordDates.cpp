// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordDates.h"

#include "records/KLRecord.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

QString RecordDates::shortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString RecordDates::withoutTimeZone(const QString &timeFormat)
{
    QString result;
    bool quoted = false;
    for (const QChar ch : timeFormat) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || ch != QLatin1Char('t'))
            result += ch;
    }
    return result.simplified();
}

QString RecordDates::longTimeFormat()
{
    return withoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat));
}

QString RecordDates::shortDate(const QDate &date)
{
    return QLocale::system().toString(date, shortDateFormat());
}

QString RecordDates::sheetTime(const QDateTime &when, const QLocale &locale)
{
    const bool midnight = when.time() == QTime(0, 0);
    QString text = locale.toString(when.date(), locale.dateFormat(QLocale::ShortFormat));
    if (!midnight)
        text +=
            QLatin1Char(' ') +
            locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    // A month's name or "PM" is no record's language, and a cut time reads as another time.
    const bool hasLetter =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    if (!hasLetter && text.size() <= KLRecord::kIdopontSize)
        return text;
    return QLocale::c().toString(when, midnight ? QStringLiteral("yyyy.MM.dd.")
                                                : QStringLiteral("yyyy.MM.dd. HH:mm:ss"));
}

std::optional<QDate> RecordDates::monthAndDay(const QString &text, const QString &dateFormat)
{
    static const QRegularExpression separators(QStringLiteral("[.\\-/\\s]+"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return std::nullopt;
    // The order of year, month and day is that of their first letters in the format.
    static const QRegularExpression quoted(QStringLiteral("'[^']*'"));
    const QString format = QString(dateFormat).remove(quoted);
    QList<QPair<qsizetype, QChar>> order;
    for (const QChar letter : {QLatin1Char('y'), QLatin1Char('M'), QLatin1Char('d')})
        order.append({format.indexOf(letter), letter});
    std::sort(order.begin(), order.end());
    // A four-digit year in front can only mean year, month, day, whatever the locale.
    if (parts[0].size() == 4)
        order = {{0, QLatin1Char('y')}, {1, QLatin1Char('M')}, {2, QLatin1Char('d')}};
    int month = 0;
    int day = 0;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = parts[i].toInt(&ok, 10);
        if (!ok || order[i].first < 0)
            return std::nullopt;
        if (order[i].second == QLatin1Char('M'))
            month = value;
        else if (order[i].second == QLatin1Char('d'))
            day = value;
    }
    // A leap year, so that 29 February stays a birthday.
    const QDate date(2000, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

bool RecordDates::isBirthday(const QString &birthDate, const QDate &today)
{
    // The exact short format first: it may name the month in words.
    std::optional<QDate> date = QLocale::system().toDate(birthDate, shortDateFormat());
    if (!date->isValid())
        date = monthAndDay(birthDate, shortDateFormat());
    return date && date->month() == today.month() && date->day() == today.day();
}
