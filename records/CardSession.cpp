// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardSession.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
#include "records/CardArchive.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/PatientId.h"
#include "records/SheetFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

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
        return work();
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
    return work();
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
        if (!SheetFile(sheetPath()).writeHeader(notesIndex, composedNotes(notes)))
            return Outcome::Failed;
        m_sheetsSeen = fingerprint(sheetPath());
        return Outcome::Done;
    });
}

CardSession::Outcome CardSession::writeCard(const CardContent &content)
{
    const bool written =
        CardFile::writePersonal(base() + QStringLiteral(".sza"), content.personal) &&
        CardFile::writeMemo(base() + QStringLiteral(".anm"), content.anamnesis) &&
        CardFile::writeMemo(base() + QStringLiteral(".pan"), content.complaints);
    m_seen = snapshot();
    return written ? Outcome::Done : Outcome::Failed;
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
    if (file.append(sheet))
        return Outcome::Done;
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
        if (!SheetFile(sheetPath()).writeHeader(index, composedNotes(notes)))
            return Outcome::Failed;
        m_sheetsSeen = fingerprint(sheetPath());
        return Outcome::Done;
    });
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
        if (!SheetFile(sheetPath()).removeSheet(index, base() + QStringLiteral(".kl$")))
            return Outcome::Failed;
        m_sheetsSeen = fingerprint(sheetPath());
        return Outcome::Done;
    });
}

CardSession::Outcome CardSession::deleteCard()
{
    if (isNew())
        return Outcome::Done;
    return locked([&] {
        if (const Outcome here = stillHere(); here != Outcome::Done)
            return here;
        CardFile::moveToBackups(base());
        return Outcome::Done;
    });
}

CardSession::Outcome CardSession::putBack(const HistoryEntry &)
{
    return Outcome::Failed;
}

CardSession::Outcome CardSession::bringBackSheet(const HistoryEntry &)
{
    return Outcome::Failed;
}

CardSession::Outcome CardSession::bringBackCard(const QString &, const QString &, const QString &,
                                                QString *)
{
    return Outcome::Failed;
}
