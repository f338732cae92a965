#include "records/RecordDates.h"

#include "records/KLRecord.h"

#include <QLocale>

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

QString RecordDates::sheetTime(const QDateTime &when)
{
    QString text = shortDate(when.date());
    if (when.time() != QTime(0, 0))
        text += QLatin1Char(' ') + QLocale::system().toString(when.time(), longTimeFormat());
    return text.left(KLRecord::kIdopontSize);
}

bool RecordDates::isBirthday(const QString &birthDate, const QDate &today)
{
    if (birthDate.isEmpty())
        return false;
    const QDate date = QLocale::system().toDate(birthDate, shortDateFormat());
    return date.isValid() && date.month() == today.month() && date.day() == today.day();
}
