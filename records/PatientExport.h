// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/ExportResult.h"
#include "records/KLRecord.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// A patient's whole record as one UTF-8 JSON document that another program can read: the
// personal data, anamnesis, complaints, every sheet with its readings and evaluation, and
// the card's change log. The card is read under its lock, so a save elsewhere is either
// wholly in the document or not at all.
class PatientExport
{
public:
    static constexpr int kFormatVersion = 1;

    struct Record
    {
        // "database" or "archive"
        QString folderName;
        CardFile::Contents card;
        QList<KLRecord> sheets;
        QJsonArray log;
    };

    // Reads the card `id` from the database folder or its archive while holding its lock;
    // nothing is written. A damaged file fails the read, since a record handed out is whole.
    static ExportResult read(const QString &dbPath, const QString &id, Record &record, bool withLog,
                             int lockWaitMs = CardLock::kWaitMs);

    // The card `id` from the database folder or its archive.
    static ExportResult build(const QString &dbPath, const QString &id, QByteArray &json,
                              int lockWaitMs = CardLock::kWaitMs);
    // build(), then the document into `target` (see ExportFile for `replace`).
    static ExportResult write(const QString &dbPath, const QString &id, const QString &target,
                              bool replace, int lockWaitMs = CardLock::kWaitMs);

    // One sheet: its notes, the 24 readings in the file's order (missing ones null) and
    // their evaluation in the same order.
    static QJsonObject sheet(const KLRecord &record, int number);
    // "Lu" ... "St" and "left"/"right" of reading k of a sheet.
    static QString meridianOf(int k);
    static QString sideOf(int k);
    // "blue", "light blue", "green", "light red", "red"; empty for a missing reading.
    static QString className(quint32 classColor);
};
