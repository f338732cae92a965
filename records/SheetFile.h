// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BoundedFile.h"
#include "records/KLRecord.h"

#include <QList>
#include <QString>

// A card's .kl file: sheet records one after the other, sheet 1 first. Every write
// replaces the file whole, so a crash leaves either the old or the new file (in place on a
// share that replaces by removing first: see AtomicFile).
class SheetFile
{
public:
    // More than a sheet a day for five hundred years: the sheets beyond are damage.
    static constexpr int kMaxSheets = 200000;
    static constexpr qint64 kMaxBytes = qint64(kMaxSheets) * KLRecord::kRecordSize;

    explicit SheetFile(QString path);

    const QString &path() const { return m_path; }
    bool exists() const;
    // There, but no regular file, not readable or holding more than kMaxSheets sheets.
    bool isDamaged() const;

    // The complete sheets before the first damage; false when the file cannot be read.
    bool read(QList<KLRecord> &sheets) const;
    // Refuses a file with damage in it, where the new sheet would never be listed.
    bool append(const KLRecord &record);
    // Rewrites the header of sheet `index` (0-based); the readings stay as they are.
    // Refuses a file beyond kMaxSheets, which it could not write back whole.
    bool writeHeader(int index, const KLRecord &record);
    // Writes the file without the 464 bytes of sheet `index` to `temporaryPath`, then
    // puts it in the file's place. Every other byte stays, a damaged tail included;
    // refuses a file beyond kMaxSheets.
    bool removeSheet(int index, const QString &temporaryPath);
    // Puts one 464-byte record back before sheet `index` (0-based), or at the end.
    bool insertSheet(int index, const QByteArray &record);
    // The number of complete sheets when unreadable bytes follow them; -1 when the file
    // is whole, missing or cannot be read.
    int sheetsBeforeDamage() const;

    // Sheets of an in-memory file; `complete` receives the bytes they cover.
    static QList<KLRecord> parse(const QByteArray &bytes, qsizetype *complete = nullptr);

    // At most kMaxBytes and one byte more, which shows damage at the bound.
    BoundedFile::Status readBytes(QByteArray &bytes) const;

private:
    bool readWhole(QByteArray &bytes) const;

    QString m_path;
};
