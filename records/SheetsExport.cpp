// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SheetsExport.h"

#include "diagrams/Evaluation.h"
#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileError.h"
#include "platform/FileMove.h"
#include "records/CardListing.h"
#include "records/ExportFile.h"
#include "records/PatientExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>

namespace {

using Problem = ExportResult::Problem;

constexpr int kKeyBytes = 32;

QStringList cardIds(const QString &dbPath)
{
    QStringList ids;
    for (const QString &folder : {dbPath, dbPath + QStringLiteral("arc/")}) {
        for (const QString &file : CardListing::cardFiles(folder))
            ids << file.left(8);
    }
    ids.sort();
    ids.removeDuplicates();
    return ids;
}

QString row(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &text : fields)
        quoted << SheetsExport::field(text);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList sheetFields(const KLRecord &sheet)
{
    const Evaluation::Result result = Evaluation::evaluate(Evaluation::storedCells(sheet.Readings));
    QStringList readings;
    QStringList classes;
    for (int k = 0; k < KLRecord::kReadingCount; ++k) {
        const qint32 value = sheet.Readings[k];
        readings << (value >= 0 ? QString::number(value) : QString());
        classes << PatientExport::className(result.ClassColor[k % 12][k / 12]);
    }
    return readings + QStringList{QString::number(result.Mean)} + classes;
}

ExportResult readKey(const QString &path, QByteArray &key)
{
    QByteArray text;
    QString reason;
    if (BoundedFile::read(path, 4096, text, &reason) != BoundedFile::Read)
        return ExportResult::fileFailed(Problem::Unreadable, path, reason);
    key = QByteArray::fromHex(text.trimmed());
    // Never replaced: another key would give every patient a new pseudonym.
    if (key.size() != kKeyBytes || key.toHex() != text.trimmed().toLower())
        return ExportResult::fileFailed(Problem::Unreadable, path,
                                        QStringLiteral("not a pseudonym key"));
    return ExportResult();
}

} // namespace

QString SheetsExport::keyPath(const QString &dbPath)
{
    return dbPath + QStringLiteral("history/pseudonym.key");
}

ExportResult SheetsExport::pseudonymKey(const QString &dbPath, QByteArray &key)
{
    const QString path = keyPath(dbPath);
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return readKey(path, key);
    QByteArray made(kKeyBytes, '\0');
    QRandomGenerator::system()->generate(made.begin(), made.end());
    const QString part =
        path + QStringLiteral(".part-") + QString::number(QCoreApplication::applicationPid());
    FileError::clear();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return ExportResult::fileFailed(Problem::Unwritable, QFileInfo(path).absolutePath());
    if (!AtomicFile::write(part, made.toHex() + '\n')) {
        QFile::remove(part);
        return ExportResult::fileFailed(Problem::Unwritable, path, FileError::last());
    }
    QString reason;
    int error = 0;
    if (FileMove::withoutReplacing(part, path, &reason, &error))
        return readKey(path, key);
    QFile::remove(part);
    // Another workstation made it first: its key is the one.
    if (error == EEXIST)
        return readKey(path, key);
    return ExportResult::fileFailed(Problem::Unwritable, path, reason);
}

QString SheetsExport::pseudonym(const QByteArray &key, const QString &id)
{
    const QByteArray mac =
        QMessageAuthenticationCode::hash(id.toUtf8(), key, QCryptographicHash::Sha256);
    return QStringLiteral("P") + QString::fromLatin1(mac.toHex().left(16)).toUpper();
}

QString SheetsExport::birthYear(const QString &birthDate)
{
    static const QRegularExpression year(QStringLiteral("(?<!\\d)\\d{4}(?!\\d)"));
    return year.match(birthDate).captured();
}

QString SheetsExport::field(const QString &text)
{
    static const QRegularExpression special(QStringLiteral("[\",\r\n]"));
    if (!text.contains(special))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QStringList SheetsExport::header(bool pseudonymous)
{
    QStringList names = pseudonymous
                            ? QStringList{QStringLiteral("pseudonym"), QStringLiteral("birth year"),
                                          QStringLiteral("sheet"), QStringLiteral("time")}
                            : QStringList{QStringLiteral("id"),         QStringLiteral("name"),
                                          QStringLiteral("birth date"), QStringLiteral("sheet"),
                                          QStringLiteral("time"),       QStringLiteral("place")};
    QStringList classes;
    for (int k = 0; k < KLRecord::kReadingCount; ++k) {
        const QString point =
            PatientExport::meridianOf(k) + QLatin1Char(' ') + PatientExport::sideOf(k);
        names << point;
        classes << point + QStringLiteral(" class");
    }
    return names + QStringList{QStringLiteral("mean")} + classes;
}

ExportResult SheetsExport::build(const QString &dbPath, bool pseudonymous, QByteArray &csv,
                                 int lockWaitMs)
{
    QByteArray key;
    if (pseudonymous) {
        if (ExportResult failed = pseudonymKey(dbPath, key); !failed.ok())
            return failed;
    }
    QString table = row(header(pseudonymous));
    ExportResult result;
    for (const QString &id : cardIds(dbPath)) {
        PatientExport::Record record;
        if (ExportResult failed = PatientExport::read(dbPath, id, record, false, lockWaitMs);
            !failed.ok())
            return failed;
        const QStringList &personal = record.card.personal;
        const QString name = personal.value(CardFile::keys().indexOf(QStringLiteral("Nev")));
        const QString birth = personal.value(CardFile::keys().indexOf(QStringLiteral("SzulDatum")));
        for (int i = 0; i < record.sheets.size(); ++i) {
            const KLRecord &sheet = record.sheets[i];
            const QString number = QString::number(i + 1);
            const QStringList who =
                pseudonymous
                    ? QStringList{pseudonym(key, id), birthYear(birth), number, sheet.Idopont}
                    : QStringList{id, name, birth, number, sheet.Idopont, sheet.Helyszin};
            table += row(who + sheetFields(sheet));
            ++result.sheets;
        }
    }
    csv = table.toUtf8();
    return result;
}

ExportResult SheetsExport::write(const QString &dbPath, const QString &target, bool pseudonymous,
                                 bool replace, int lockWaitMs)
{
    return ExportFile::writeBuilt(target, replace, [&](QByteArray &csv) {
        return build(dbPath, pseudonymous, csv, lockWaitMs);
    });
}
