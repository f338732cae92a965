// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardClaim.h"

#include "platform/FileError.h"
#include "records/CardArchive.h"
#include "records/PatientId.h"

#include <QFile>

bool CardClaim::createIfAbsent(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    FileError::note(path, file.errorString());
    return false;
}

QString CardClaim::claim(const QString &wanted, const QDate &date, const QString &dbPath,
                         const QString &arcPath, std::unique_ptr<CardLock> &lock)
{
    const QString sza = QStringLiteral(".sza");
    QString id = wanted;
    for (int tries = 0; tries <= PatientId::kMaxNumber && !id.isEmpty(); ++tries) {
        auto held = std::make_unique<CardLock>(CardLock::pathFor(dbPath + id));
        if (held->acquire(0)) {
            // A claim left unfinished by a workstation that stopped is cleared first.
            CardArchive::settle(id, dbPath, arcPath);
            if (createIfAbsent(dbPath + id + sza)) {
                // A card deleted or archived elsewhere since the id was proposed keeps it
                // taken: its backups or archived sheets must never join the new card.
                if (!PatientId::isTaken(id, dbPath, arcPath, dbPath + id + sza)) {
                    lock = std::move(held);
                    return id;
                }
                QFile::remove(dbPath + id + sza);
            } else if (!QFile::exists(dbPath + id + sza)) {
                return QString();
            }
        } else if (!held->inUse()) {
            return QString();
        }
        id = PatientId::nextFree(date, id, dbPath, arcPath);
    }
    return QString();
}
