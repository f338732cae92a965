// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/PatientExport.h"

#include "diagrams/Evaluation.h"
#include "platform/BoundedFile.h"
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/ExportFile.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

using Problem = ExportResult::Problem;

// An id names files in the folder: nothing but a card's eight characters may reach a path.
bool plainId(const QString &id)
{
    return id.size() == 8 && id.startsWith(QLatin1Char('B')) && !id.contains(QLatin1Char('/')) &&
           !id.contains(QLatin1Char('\\')) && !id.contains(QLatin1Char('.'));
}

ExportResult unreadable(const QString &path, QString reason = QString())
{
    if (reason.isEmpty())
        BoundedFile::open(path, nullptr, &reason);
    return ExportResult::fileFailed(Problem::Unreadable,
                                    QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
                                    reason.isEmpty() ? QStringLiteral("damaged") : reason);
}

bool changeLog(const QString &folder, const QString &id, QJsonArray &log, QString *error)
{
    for (const HistoryEntry &entry : CardHistory(folder, id).entries(error)) {
        log.append(QJsonObject{
            {QStringLiteral("time"), entry.when.toString(Qt::ISODateWithMs)},
            {QStringLiteral("workstation"), entry.host},
            {QStringLiteral("user"), entry.user},
            {QStringLiteral("action"), entry.action},
            {QStringLiteral("file"), entry.file},
            {QStringLiteral("sheet"), entry.sheet},
            {QStringLiteral("version"), entry.version},
            {QStringLiteral("digest"), entry.digest},
            {QStringLiteral("note"), entry.note},
        });
    }
    return error->isEmpty();
}

QJsonValue orNull(bool present, double value)
{
    return present ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

} // namespace

ExportResult PatientExport::read(const QString &dbPath, const QString &id, Record &record,
                                 bool withLog, int lockWaitMs)
{
    if (!plainId(id))
        return ExportResult::failed(Problem::NoCard, id);
    CardLock lock(CardLock::pathFor(dbPath + id));
    // A folder that takes no lock file (read-only, a restored copy) is read as it is.
    if (!lock.acquire(lockWaitMs) && lock.inUse())
        return ExportResult::failed(Problem::InUse,
                                    QStringLiteral("%1 (%2)").arg(id, lock.holder().host));
    const QString arcPath = dbPath + QStringLiteral("arc/");
    QString folder;
    if (QFileInfo::exists(dbPath + id + QStringLiteral(".sza"))) {
        folder = dbPath;
        record.folderName = QStringLiteral("database");
    } else if (QFileInfo::exists(arcPath + id + QStringLiteral(".sza"))) {
        folder = arcPath;
        record.folderName = QStringLiteral("archive");
    } else {
        return ExportResult::failed(Problem::NoCard, id);
    }
    const QString base = folder + id;
    record.card = CardFile::read(base);
    if (!record.card.damaged.isEmpty())
        return unreadable(record.card.damaged);
    const SheetFile sheets(base + QStringLiteral(".kl"));
    if (sheets.exists() && !sheets.read(record.sheets))
        return unreadable(sheets.path());
    // A record handed out is whole: sheets cut off by damage would be missing unseen.
    if (const int before = sheets.sheetsBeforeDamage(); before >= 0)
        return unreadable(sheets.path(), QStringLiteral("damaged after sheet %1").arg(before));
    QString error;
    if (withLog && !changeLog(folder, id, record.log, &error))
        return ExportResult::failed(Problem::Unreadable, error);
    return ExportResult();
}

QString PatientExport::meridianOf(int k)
{
    const QString code = QString::fromLatin1(Evaluation::MeridianCodes[k % 12]);
    return code.left(1) + code.mid(1).toLower();
}

QString PatientExport::sideOf(int k)
{
    return k < 12 ? QStringLiteral("left") : QStringLiteral("right");
}

QString PatientExport::className(quint32 classColor)
{
    switch (classColor) {
    case Evaluation::kBlue:
        return QStringLiteral("blue");
    case Evaluation::kLightBlue:
        return QStringLiteral("light blue");
    case Evaluation::kGreen:
        return QStringLiteral("green");
    case Evaluation::kLightRed:
        return QStringLiteral("light red");
    case Evaluation::kRed:
        return QStringLiteral("red");
    }
    return QString();
}

QJsonObject PatientExport::sheet(const KLRecord &record, int number)
{
    const Evaluation::Result result =
        Evaluation::evaluate(Evaluation::storedCells(record.Readings));
    QJsonArray readings;
    QJsonArray deviations;
    QJsonArray classes;
    for (int k = 0; k < KLRecord::kReadingCount; ++k) {
        const int m = k % 12;
        const int s = k / 12;
        const qint32 value = record.Readings[k];
        readings.append(QJsonObject{{QStringLiteral("meridian"), meridianOf(k)},
                                    {QStringLiteral("side"), sideOf(k)},
                                    {QStringLiteral("value"), orNull(value >= 0, value)}});
        deviations.append(orNull(result.Present[m][s], result.Deviation[m][s]));
        const QString name = className(result.ClassColor[m][s]);
        classes.append(name.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(name));
    }
    return QJsonObject{
        {QStringLiteral("number"), number},
        {QStringLiteral("time"), record.Idopont},
        {QStringLiteral("place"), record.Helyszin},
        {QStringLiteral("status"), record.Statusz},
        {QStringLiteral("other"), record.Egyeb},
        {QStringLiteral("readings"), readings},
        {QStringLiteral("evaluation"), QJsonObject{{QStringLiteral("mean"), result.Mean},
                                                   {QStringLiteral("reference"), result.Reference},
                                                   {QStringLiteral("deviations"), deviations},
                                                   {QStringLiteral("classes"), classes}}},
    };
}

ExportResult PatientExport::build(const QString &dbPath, const QString &id, QByteArray &json,
                                  int lockWaitMs)
{
    Record record;
    ExportResult result = read(dbPath, id, record, true, lockWaitMs);
    if (!result.ok())
        return result;
    QJsonObject personal;
    for (int i = 0; i < CardFile::keys().size(); ++i)
        personal.insert(CardFile::keys()[i], record.card.personal.value(i));
    QJsonArray sheets;
    for (int i = 0; i < record.sheets.size(); ++i)
        sheets.append(sheet(record.sheets[i], i + 1));
    const QDateTime now = QDateTime::currentDateTime();
    const QJsonObject document{
        {QStringLiteral("format"), QStringLiteral("tavimer-patient-record")},
        {QStringLiteral("formatVersion"), kFormatVersion},
        {QStringLiteral("program"),
         QStringLiteral("Tavimer %1").arg(QCoreApplication::applicationVersion()).trimmed()},
        {QStringLiteral("exported"),
         now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs)},
        {QStringLiteral("id"), id},
        {QStringLiteral("folder"), record.folderName},
        {QStringLiteral("personal"), personal},
        {QStringLiteral("anamnesis"), record.card.anamnesis},
        {QStringLiteral("complaints"), record.card.complaints},
        {QStringLiteral("sheets"), sheets},
        {QStringLiteral("changeLog"), record.log},
    };
    json = QJsonDocument(document).toJson(QJsonDocument::Indented);
    result.sheets = record.sheets.size();
    return result;
}

ExportResult PatientExport::write(const QString &dbPath, const QString &id, const QString &target,
                                  bool replace, int lockWaitMs)
{
    return ExportFile::writeBuilt(
        target, replace, [&](QByteArray &json) { return build(dbPath, id, json, lockWaitMs); });
}
