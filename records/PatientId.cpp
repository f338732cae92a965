// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/PatientId.h"

#include <QFileInfo>

namespace {
QChar letter(int offset)
{
    return QChar(64 + offset);
}
} // namespace

QString PatientId::dateLetters(const QDate &date)
{
    return QString(letter(date.year() % 25)) + letter(date.month()) + letter(date.day() % 25);
}

QString PatientId::format(const QDate &date, int number)
{
    const QString head = QLatin1Char('B') + dateLetters(date);
    return head + QString::number(number).rightJustified(kLength - head.size(), QLatin1Char('0'));
}

bool PatientId::isTaken(const QString &id, const QString &dbPath, const QString &arcPath,
                        const QString &except)
{
    for (const char *extension :
         {".sza", ".anm", ".pan", ".kl", ".~sza", ".~anm", ".~pan", ".~kl"}) {
        for (const QString &folder : {dbPath, arcPath}) {
            const QString path = folder + id + QLatin1String(extension);
            if (path != except && QFileInfo::exists(path))
                return true;
        }
    }
    return false;
}

QString PatientId::NewPatientId(const QDate &today, const QString &dbPath, const QString &arcPath)
{
    for (int number = 1; number <= kMaxNumber; ++number) {
        const QString id = format(today, number);
        if (!isTaken(id, dbPath, arcPath))
            return id;
    }
    return QString();
}

QString PatientId::nextFree(const QDate &date, const QString &after, const QString &dbPath,
                            const QString &arcPath)
{
    // Another workstation may hold the lock of a free number while it claims it.
    const int from = after.startsWith(format(date, 1).left(4)) ? after.mid(4).toInt() + 1 : 1;
    for (int number = from; number <= kMaxNumber; ++number) {
        const QString id = format(date, number);
        if (!isTaken(id, dbPath, arcPath))
            return id;
    }
    return QString();
}
