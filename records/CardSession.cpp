// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardSession.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
#include "platform/FileError.h"
#include "platform/FileMove.h"
#include "records/CardArchive.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/CardLock.h"
#include "records/PatientId.h"
#include "records/SheetFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

namespace {

const QStringList kCardExtensions = {QStringLiteral(".sza"), QStringLiteral(".anm"),
                                     QStringLiteral(".pan")};

QString composed(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C);
}

CardContent composed(const CardContent &content)
{
    CardContent result;
    for (const QString &value : content.personal)
        result.personal << composed(value);
    result.anamnesis = composed(content.anamnesis);
    result.complaints = composed(content.complaints);
    return result;
}

const QString kSza = QStringLiteral(".sza");
const QString kKl = QStringLiteral(".kl");

QString actionFor(const QString &extension)
{
    if (extension == QLatin1String(".sza"))
        return QStringLiteral("personal");
    return extension == QLatin1String(".anm") ? QStringLiteral("anamnesis")
                                              : QStringLiteral("complaints");
}

QByteArray memoBytes(const QString &text)
{
    return Cp1250::fromUnicode(CardFile::toFileText(text));
}

// The record of sheet `index` as the file holds it now; empty when there is none.
QByteArray sheetBytes(const QString &path, int index)
{
    QByteArray bytes;
    if (SheetFile(path).readBytes(bytes) != BoundedFile::Read || index < 0)
        return {};
    const QByteArray record =
        bytes.mid(qsizetype(index) * KLRecord::kRecordSize, KLRecord::kRecordSize);
    return record.size() == KLRecord::kRecordSize ? record : QByteArray();
}

KLRecord composedNotes(const KLRecord &notes)
{
    KLRecord result = notes;
    for (QString *text : {&result.Idopont, &result.Helyszin, &result.Statusz, &result.Egyeb})
        *text = composed(*text);
    return result;
}

} // namespace

CardSession::CardSession(QString dbPath, QString arcPath)
    : m_db(std::move(dbPath)), m_arc(std::move(arcPath))
{
}

QStringList CardSession::unstorableCharacters(const QString &text)
{
    QStringList named;
    for (const QString &character : Cp1250::unstorable(composed(text))) {
        const uint code = character.toUcs4().value(0);
        named << QStringLiteral("%1 (U+%2)")
                     .arg(character, QString::number(code, 16).toUpper().rightJustified(4, '0'));
    }
    return named;
}

QString CardSession::anamnesisTemplate()
{
    QString text;
    if (!CardFile::readMemo(QStringLiteral("anmminta.txt"), text))
        text.clear();
    return text;
}

QByteArray CardSession::fingerprintOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QByteArray CardSession::fingerprint(const QString &path)
{
    // Contents, not size and time: a share may keep a second's time and the same size.
    const qint64 limit =
        path.endsWith(QStringLiteral(".kl")) ? SheetFile::kMaxBytes : BoundedFile::kTextLimit;
    QByteArray bytes;
    switch (BoundedFile::read(path, limit, bytes)) {
    case BoundedFile::Missing:
        return QByteArrayLiteral("absent");
    case BoundedFile::Damaged:
        return QByteArrayLiteral("damaged");
    case BoundedFile::Read:
        break;
    }
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

CardSession::Snapshot CardSession::snapshot() const
{
    Snapshot files;
    for (const QString &extension : kCardExtensions)
        files.insert(extension, fingerprint(base() + extension));
    return files;
}

bool CardSession::startNew(const QDate &today)
{
    close();
    m_id = PatientId::NewPatientId(today, m_db, m_arc);
    if (m_id.isEmpty())
        return false;
    m_newDate = today;
    return true;
}

CardSession::Outcome CardSession::open(const QString &id, CardContent &content)
{
    close();
    m_id = id;
    // A move or a new card that was interrupted is finished before the card is shown.
    // What cannot be settled now is reported when the card is written.
    if (needsSettling())
        locked([] { return Outcome::Done; });
    // Taken around the reading: a save that comes in between is read again.
    bool read = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_seen = snapshot();
        const CardFile::Contents card = CardFile::read(base());
        content.personal = card.personal;
        content.anamnesis = card.anamnesis;
        content.complaints = card.complaints;
        content.damaged = card.damaged;
        read = card.damaged.isEmpty();
        if (snapshot() == m_seen)
            break;
    }
    return read ? Outcome::Done : Outcome::Failed;
}

void CardSession::close()
{
    m_claimLock.reset();
    m_id.clear();
    m_newDate = QDate();
    m_seen.clear();
    m_sheetsSeen.clear();
    m_sheets.clear();
}

CardSession::Outcome CardSession::locked(const std::function<Outcome()> &work)
{
    // A new card's claim still holds its lock, and its empty .sza is this session's own.
    std::unique_ptr<CardLock> lock = std::move(m_claimLock);
    if (lock)
        return logLines(work());
    lock = std::make_unique<CardLock>(CardLock::pathFor(base()));
    if (!lock->acquire(m_lockWaitMs)) {
        // Never written without the lock, not even where the folder refuses lock files.
        if (!lock->inUse())
            return Outcome::Failed;
        m_holder = lock->holder();
        return Outcome::InUse;
    }
    m_failure.clear();
    if (const Outcome settled = CardArchive::settle(m_id, m_db, m_arc, &m_failure);
        settled != Outcome::Done)
        return settled;
    return logLines(work());
}

bool CardSession::needsSettling() const
{
    if (QFileInfo::exists(CardArchive::moveMarker(m_db, m_id)))
        return true;
    QByteArray sza;
    return BoundedFile::read(base() + QStringLiteral(".sza"), BoundedFile::kTextLimit, sza) ==
               BoundedFile::Read &&
           sza.isEmpty();
}

bool CardSession::takeOverLock()
{
    CardLock lock(CardLock::pathFor(base()));
    const bool taken = lock.takeOver();
    lock.release();
    return taken;
}

CardSession::Outcome CardSession::stillHere() const
{
    // Opened, not looked up: a folder that keeps names for a while still lists a card that
    // another workstation has just moved away.
    BoundedFile::Status status = BoundedFile::Missing;
    if (BoundedFile::open(base() + QStringLiteral(".sza"), &status) ||
        status == BoundedFile::Damaged)
        return Outcome::Done;
    return QFileInfo::exists(m_arc + m_id + QStringLiteral(".sza")) ? Outcome::Archived
                                                                    : Outcome::Gone;
}

CardSession::Outcome CardSession::claim()
{
    const QString id = CardClaim::claim(m_id, m_newDate, m_db, m_arc, m_claimLock);
    if (id.isEmpty())
        return QFileInfo::exists(m_db) ? Outcome::NoIdLeft : Outcome::Failed;
    m_id = id;
    m_newDate = QDate();
    m_seen = snapshot();
    return Outcome::Done;
}

CardSession::Outcome CardSession::save(const CardContent &content, int notesIndex,
                                       const KLRecord &notes, bool overwrite)
{
    if (m_id.isEmpty())
        return Outcome::Done;
    QString texts = content.personal.join(QString()) + content.anamnesis + content.complaints;
    if (notesIndex >= 0)
        texts += notes.Idopont + notes.Helyszin + notes.Statusz + notes.Egyeb;
    m_unstorable = unstorableCharacters(texts);
    if (!m_unstorable.isEmpty())
        return Outcome::Unstorable;
    if (isNew()) {
        const Outcome claimed = claim();
        if (claimed != Outcome::Done)
            return claimed;
    }
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        if (!overwrite && snapshot() != m_seen)
            return Outcome::ChangedElsewhere;
        if (notesIndex >= 0 && checkSheets() != Outcome::Done)
            return Outcome::SheetsChanged;
        CardContent stored = composed(content);
        // The claim's own id, whatever the window still shows.
        stored.personal[CardFile::keys().indexOf(QStringLiteral("ID"))] = m_id;
        const Outcome written = writeCard(stored);
        if (written != Outcome::Done || notesIndex < 0)
            return written;
        return writeNotes(notesIndex, notes);
    });
}

CardSession::Outcome CardSession::writeCard(const CardContent &content)
{
    QStringList stored;
    for (const QString &value : content.personal)
        stored << CardFile::oneLine(value);
    QByteArray sza;
    BoundedFile::read(base() + kSza, BoundedFile::kTextLimit, sza);
    const QString anm = base() + QStringLiteral(".anm");
    const QString pan = base() + QStringLiteral(".pan");
    Outcome written = writeLogged(kSza, QString(), CardFile::personalFromBytes(sza) != stored, [&] {
        return CardFile::writePersonal(base() + kSza, content.personal);
    });
    if (written == Outcome::Done)
        written = writeLogged(QStringLiteral(".anm"), QString(),
                              fingerprint(anm) != fingerprintOf(memoBytes(content.anamnesis)),
                              [&] { return CardFile::writeMemo(anm, content.anamnesis); });
    if (written == Outcome::Done)
        written = writeLogged(QStringLiteral(".pan"), QString(),
                              fingerprint(pan) != fingerprintOf(memoBytes(content.complaints)),
                              [&] { return CardFile::writeMemo(pan, content.complaints); });
    m_seen = snapshot();
    return written;
}

CardSession::Outcome CardSession::writeLogged(const QString &extension, const QString &action,
                                              bool changes, const std::function<bool()> &write,
                                              const QString &note)
{
    const QString path = base() + extension;
    QByteArray before;
    const bool existed =
        BoundedFile::read(path, BoundedFile::kTextLimit, before) == BoundedFile::Read &&
        !(extension == kSza && before.isEmpty());
    CardHistory history(m_db, m_id);
    HistoryEntry entry;
    entry.action = !action.isEmpty()              ? action
                   : existed || extension != kSza ? actionFor(extension)
                                                  : QStringLiteral("card-created");
    entry.file = extension;
    entry.note = note;
    if (existed && changes) {
        entry.version = history.keepVersion(extension, before);
        if (entry.version.isEmpty()) {
            m_failure = history.failure();
            return Outcome::Failed;
        }
    }
    if (!write())
        return Outcome::Failed;
    QByteArray after;
    BoundedFile::read(path, BoundedFile::kTextLimit, after);
    if (after == before) {
        if (!entry.version.isEmpty())
            QFile::remove(history.versionsPath() + entry.version);
        return Outcome::Done;
    }
    // Bytes the values did not foresee, such as a key line added: kept all the same.
    if (existed && entry.version.isEmpty())
        entry.version = history.keepVersion(extension, before);
    entry.digest = CardHistory::digest(after);
    return logged(entry);
}

CardSession::Outcome CardSession::logged(const HistoryEntry &entry)
{
    m_lines << entry;
    return Outcome::Done;
}

CardSession::Outcome CardSession::logLines(Outcome outcome)
{
    // One write of the log for all the changes of one operation: each line still follows its
    // change, and a save costs one flush of the log, not one per file.
    CardHistory history(m_db, m_id);
    const bool written = m_lines.isEmpty() || history.log(m_lines);
    m_lines.clear();
    if (written || outcome != Outcome::Done)
        return outcome;
    m_failure = history.failure();
    return Outcome::Failed;
}
CardSession::Outcome CardSession::sheetChange(HistoryEntry entry, const QByteArray &replaced,
                                              const std::function<bool()> &write)
{
    entry.file = kKl;
    if (!replaced.isEmpty()) {
        CardHistory history(m_db, m_id);
        entry.version = history.keepVersion(kKl, replaced);
        if (entry.version.isEmpty()) {
            m_failure = history.failure();
            return Outcome::Failed;
        }
    }
    if (!write())
        return Outcome::Failed;
    m_sheetsSeen = fingerprint(sheetPath());
    return logged(entry);
}

CardSession::Outcome CardSession::readSheets(QList<KLRecord> &sheets)
{
    sheets.clear();
    m_sheets.clear();
    m_sheetsSeen.clear();
    m_damagedAfter = -1;
    QByteArray bytes;
    switch (SheetFile(sheetPath()).readBytes(bytes)) {
    case BoundedFile::Missing:
        m_sheetsSeen = fingerprint(sheetPath());
        return Outcome::Done;
    case BoundedFile::Damaged:
        return Outcome::Failed;
    case BoundedFile::Read:
        break;
    }
    if (bytes.size() <= SheetFile::kMaxBytes)
        m_sheetsSeen = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    qsizetype complete = 0;
    m_sheets = sheets = SheetFile::parse(bytes, &complete);
    if (complete == bytes.size())
        return Outcome::Done;
    m_damagedAfter = int(sheets.size());
    return Outcome::Damaged;
}

CardSession::Outcome CardSession::checkSheets() const
{
    return !m_sheetsSeen.isEmpty() && fingerprint(sheetPath()) == m_sheetsSeen
               ? Outcome::Done
               : Outcome::SheetsChanged;
}

CardSession::Outcome CardSession::appendSheet(const KLRecord &sheet)
{
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        return append(sheet);
    });
}

CardSession::Outcome CardSession::append(const KLRecord &sheet)
{
    SheetFile file(sheetPath());
    const qint64 before = QFileInfo(sheetPath()).size() / KLRecord::kRecordSize;
    if (file.append(sheet)) {
        HistoryEntry entry;
        entry.action = QStringLiteral("sheet-added");
        entry.file = kKl;
        entry.sheet = int(before) + 1;
        entry.digest = CardHistory::digest(sheet.bytes());
        return logged(entry);
    }
    m_damagedAfter = file.sheetsBeforeDamage();
    return m_damagedAfter >= 0 ? Outcome::Damaged : Outcome::Failed;
}

CardSession::Outcome CardSession::saveNotes(int index, const KLRecord &notes)
{
    m_unstorable =
        unstorableCharacters(notes.Idopont + notes.Helyszin + notes.Statusz + notes.Egyeb);
    if (!m_unstorable.isEmpty())
        return Outcome::Unstorable;
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        if (checkSheets() != Outcome::Done)
            return Outcome::SheetsChanged;
        return writeNotes(index, notes);
    });
}

CardSession::Outcome CardSession::writeNotes(int index, const KLRecord &notes)
{
    const KLRecord stored = composedNotes(notes);
    const QByteArray before = sheetBytes(sheetPath(), index);
    const QByteArray after = stored.header() + before.mid(KLRecord::kHeaderSize);
    auto write = [&] { return SheetFile(sheetPath()).writeHeader(index, stored); };
    if (before.isEmpty() || after == before) {
        if (!write())
            return Outcome::Failed;
        m_sheetsSeen = fingerprint(sheetPath());
        return Outcome::Done;
    }
    HistoryEntry entry;
    entry.action = QStringLiteral("sheet-notes");
    entry.sheet = index + 1;
    entry.digest = CardHistory::digest(after);
    return sheetChange(entry, before, write);
}

CardSession::Outcome CardSession::readSheet(int index, KLRecord &sheet) const
{
    QByteArray bytes;
    const BoundedFile::Status status = SheetFile(sheetPath()).readBytes(bytes);
    if (status != BoundedFile::Read)
        return status == BoundedFile::Missing ? Outcome::SheetsChanged : Outcome::Failed;
    if (m_sheetsSeen != QCryptographicHash::hash(bytes, QCryptographicHash::Sha1))
        return Outcome::SheetsChanged;
    const QList<KLRecord> sheets = SheetFile::parse(bytes);
    if (index < 0 || index >= sheets.size())
        return Outcome::Failed;
    sheet = sheets[index];
    return Outcome::Done;
}

CardSession::Outcome CardSession::deleteSheet(int index, const QString &cannotOpen,
                                              const QString &cannotCreate)
{
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        if (checkSheets() != Outcome::Done)
            return Outcome::SheetsChanged;
        FileCopy::Texts texts;
        if (!cannotOpen.isEmpty())
            texts = {cannotOpen, cannotCreate};
        m_failure = FileCopy::copyFileTo(sheetPath(), base() + QStringLiteral(".~kl"), texts);
        if (!m_failure.isEmpty())
            return Outcome::Failed;
        HistoryEntry entry;
        entry.action = QStringLiteral("sheet-deleted");
        entry.sheet = index + 1;
        return sheetChange(entry, sheetBytes(sheetPath(), index), [&] {
            return SheetFile(sheetPath()).removeSheet(index, base() + QStringLiteral(".kl$"));
        });
    });
}

CardSession::Outcome CardSession::deleteCard()
{
    if (isNew())
        return Outcome::Done;
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        return removeCardFiles();
    });
}

CardSession::Outcome CardSession::removeCardFiles()
{
    CardHistory history(m_db, m_id);
    QList<HistoryEntry> lines;
    for (const QString &extension : kCardExtensions + QStringList{kKl}) {
        QByteArray bytes;
        const qint64 limit = extension == kKl ? SheetFile::kMaxBytes : BoundedFile::kTextLimit;
        if (BoundedFile::read(base() + extension, limit, bytes) != BoundedFile::Read)
            continue;
        HistoryEntry entry;
        entry.action = QStringLiteral("card-deleted");
        entry.file = extension;
        entry.version = history.keepVersion(extension, bytes);
        if (entry.version.isEmpty()) {
            m_failure = history.failure();
            return Outcome::Failed;
        }
        lines << entry;
    }
    CardFile::moveToBackups(base());
    m_lines = lines;
    if (logLines(Outcome::Done) != Outcome::Done)
        return Outcome::Failed;
    // A later card given the same id starts a clean history.
    if (!QFileInfo::exists(history.path()))
        return Outcome::Done;
    const QString kept = CardHistory::historyRoot(m_db) +
                         CardHistory::deletedFolderName(m_id, QDateTime::currentDateTimeUtc());
    QString reason;
    int error = EEXIST;
    // Deleted twice within a second: the second is told apart by a number.
    for (int n = 1; n < 10 && error == EEXIST; ++n) {
        const QString suffix = n > 1 ? QStringLiteral("-%1").arg(n) : QString();
        if (FileMove::withoutReplacing(QDir::cleanPath(history.path()), kept + suffix, &reason,
                                       &error))
            return Outcome::Done;
    }
    m_failure = history.path() + QStringLiteral(": ") + reason;
    FileError::note(history.path(), reason);
    return Outcome::Failed;
}

CardSession::Outcome CardSession::putBack(const HistoryEntry &entry)
{
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        QByteArray bytes;
        if (!CardHistory(m_db, m_id).readVersion(entry.version, bytes, &m_failure))
            return Outcome::Failed;
        if (entry.file == kKl) {
            if (checkSheets() != Outcome::Done)
                return Outcome::SheetsChanged;
            return putBackNotes(entry, bytes);
        }
        if (!kCardExtensions.contains(entry.file)) {
            m_failure = entry.version + QStringLiteral(": no file of the card");
            return Outcome::Failed;
        }
        if (snapshot() != m_seen)
            return Outcome::ChangedElsewhere;
        return putBackFile(entry, bytes);
    });
}

CardSession::Outcome CardSession::putBackFile(const HistoryEntry &entry, const QByteArray &bytes)
{
    const QString path = base() + entry.file;
    const Outcome written = writeLogged(
        entry.file, QStringLiteral("put-back"), fingerprint(path) != fingerprintOf(bytes),
        [&] { return AtomicFile::write(path, bytes); }, entry.version);
    m_seen = snapshot();
    return written;
}

CardSession::Outcome CardSession::putBackNotes(const HistoryEntry &entry, const QByteArray &bytes)
{
    const int index = entry.sheet - 1;
    const QByteArray before = sheetBytes(sheetPath(), index);
    const std::optional<KLRecord> notes = KLRecord::decode(bytes.constData(), bytes.size());
    // Notes go back only onto the readings they were written for.
    if (!notes || bytes.size() != KLRecord::kRecordSize || before.isEmpty() ||
        before.mid(KLRecord::kHeaderSize) != bytes.mid(KLRecord::kHeaderSize)) {
        m_failure = QStringLiteral("%1: sheet %2 no longer holds these readings")
                        .arg(sheetPath())
                        .arg(entry.sheet);
        return Outcome::Failed;
    }
    HistoryEntry change;
    change.action = QStringLiteral("put-back");
    change.sheet = entry.sheet;
    change.note = entry.version;
    change.digest = CardHistory::digest(notes->header() + before.mid(KLRecord::kHeaderSize));
    return sheetChange(change, before,
                       [&] { return SheetFile(sheetPath()).writeHeader(index, *notes); });
}

CardSession::Outcome CardSession::bringBackSheet(const HistoryEntry &deleted)
{
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        if (checkSheets() != Outcome::Done)
            return Outcome::SheetsChanged;
        QByteArray bytes;
        if (!CardHistory(m_db, m_id).readVersion(deleted.version, bytes, &m_failure))
            return Outcome::Failed;
        if (bytes.size() != KLRecord::kRecordSize ||
            !KLRecord::decode(bytes.constData(), bytes.size())) {
            m_failure = deleted.version + QStringLiteral(": no sheet");
            return Outcome::Failed;
        }
        const int count = int(QFileInfo(sheetPath()).size() / KLRecord::kRecordSize);
        HistoryEntry change;
        change.action = QStringLiteral("sheet-brought-back");
        change.sheet = std::clamp(deleted.sheet, 1, count + 1);
        change.note = deleted.version;
        change.digest = CardHistory::digest(bytes);
        return sheetChange(change, QByteArray(), [&] {
            return SheetFile(sheetPath()).insertSheet(change.sheet - 1, bytes);
        });
    });
}

namespace {

// The newest kept version of each file of a deleted card.
QHash<QString, QByteArray> deletedFiles(const CardHistory &history, QString *failure)
{
    QHash<QString, QByteArray> files;
    for (const HistoryEntry &entry : history.entries(failure)) {
        QByteArray bytes;
        if (entry.action == QLatin1String("card-deleted") &&
            history.readVersion(entry.version, bytes, failure))
            files.insert(entry.file, bytes);
    }
    return files;
}

// The old id under its lock when no card holds it, else a new id of today, claimed.
QString claimFor(const QString &oldId, const QString &dbPath, const QString &arcPath,
                 std::unique_ptr<CardLock> &lock)
{
    lock = std::make_unique<CardLock>(CardLock::pathFor(dbPath + oldId));
    // Nothing of another card may be written over.
    bool free = lock->acquire() && !QFileInfo::exists(arcPath + oldId + kSza);
    for (const char *extension : {".anm", ".pan", ".kl"})
        free = free && !QFileInfo::exists(dbPath + oldId + QLatin1String(extension));
    if (free && CardClaim::createIfAbsent(dbPath + oldId + kSza))
        return oldId;
    lock.reset();
    const QDate today = QDate::currentDate();
    return CardClaim::claim(PatientId::NewPatientId(today, dbPath, arcPath), today, dbPath, arcPath,
                            lock);
}

} // namespace

CardSession::Outcome CardSession::bringBackCard(const QString &dbPath, const QString &arcPath,
                                                const QString &deletedFolderName, QString *id,
                                                QString *failure)
{
    QString ignored;
    QString &reason = failure ? *failure : ignored;
    const CardHistory deleted(dbPath, deletedFolderName);
    const QHash<QString, QByteArray> files = deletedFiles(deleted, &reason);
    if (!files.contains(kSza)) {
        if (reason.isEmpty())
            reason = deleted.path() + QStringLiteral(": no kept personal data");
        return Outcome::Failed;
    }
    const QString oldId = deletedFolderName.section(QLatin1Char('~'), 0, 0);
    std::unique_ptr<CardLock> lock;
    const QString newId = claimFor(oldId, dbPath, arcPath, lock);
    if (newId.isEmpty())
        return Outcome::NoIdLeft;
    // The .sza last: until it holds the card, the claim shows as unfinished.
    for (const QString &extension : {QStringLiteral(".anm"), QStringLiteral(".pan"), kKl, kSza}) {
        if (files.contains(extension) &&
            !AtomicFile::write(dbPath + newId + extension, files.value(extension))) {
            reason = FileError::last();
            return Outcome::Failed;
        }
    }
    if (newId != oldId) {
        QStringList values = CardFile::readPersonal(dbPath + newId + kSza);
        values[CardFile::keys().indexOf(QStringLiteral("ID"))] = newId;
        if (!CardFile::writePersonal(dbPath + newId + kSza, values)) {
            reason = FileError::last();
            return Outcome::Failed;
        }
    }
    CardHistory history(dbPath, newId);
    if (!QFileInfo::exists(history.path()))
        FileMove::withoutReplacing(QDir::cleanPath(deleted.path()),
                                   QDir::cleanPath(history.path()));
    HistoryEntry entry;
    entry.action = QStringLiteral("card-brought-back");
    entry.note = newId == oldId ? QString() : oldId;
    entry.digest = CardHistory::digest(files.value(kSza));
    *id = newId;
    if (history.log(entry))
        return Outcome::Done;
    reason = history.failure();
    return Outcome::Failed;
}
