// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupWriter.h"

#include "platform/BoundedFile.h"
#include "platform/FileCopy.h"
#include "platform/FileMove.h"
#include "platform/OwnerOnly.h"
#include "platform/Sha256.h"
#include "records/BackupCardReader.h"
#include "records/BackupManifest.h"
#include "records/BackupReader.h"
#include "records/CardLock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr int kBlock = 1 << 16;
constexpr int kKeptHeap = 32 << 20;

using Problem = BackupResult::Problem;
using Card = BackupCardReader::Card;

struct ArchiveFree
{
    void operator()(archive *a) const { archive_write_free(a); }
};

struct EntryFree
{
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

// Locks of the cards, the aside file of a lock being taken over, and Qt's lock files.
bool isLockFile(const QString &name)
{
    return name.endsWith(QLatin1String(".lck")) || name.endsWith(QLatin1String(".~lck")) ||
           name.endsWith(QLatin1String(".rmlock"));
}

bool isInside(const QString &path, const QString &folder)
{
    const auto within = [](const QString &inner, const QString &outer) {
        return !inner.isEmpty() && !outer.isEmpty() &&
               (inner == outer || inner.startsWith(outer + QLatin1Char('/')));
    };
    const QFileInfo in(path);
    const QFileInfo out(folder);
    return within(QDir::cleanPath(in.absoluteFilePath()),
                  QDir::cleanPath(out.absoluteFilePath())) ||
           within(in.canonicalFilePath(), out.canonicalFilePath());
}

void syncToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        ::fsync(file.handle());
#else
    Q_UNUSED(path);
#endif
}

class Writing
{
public:
    Writing(const QString &dbPath, const QString &partPath, const QDateTime &when,
            const BackupProgress &progress, const BackupLockWaits &waits)
        : m_db(QDir(dbPath).absolutePath() + QLatin1Char('/')), m_part(partPath), m_when(when),
          m_progress(progress), m_waits(waits)
    {
    }

    BackupResult run();

private:
    void scan();
    BackupResult writeAll();
    BackupResult writeCard(const QString &id, qint64 waitMs, bool lastTry, bool &deferred);
    BackupResult writeRead(const Card &card);
    QString manifestName() const;
    BackupResult writeFile(const QString &relative);
    BackupResult writeBytes(const QString &relative, const QByteArray &bytes);
    BackupResult writeHeader(const QString &relative, qint64 size, const QDateTime &time,
                             bool folder);
    BackupResult verify();
    bool goOn(qint64 done) const { return !m_progress || m_progress(done, m_total * 2); }
    BackupResult unwritable() const;

    QString m_db;
    QString m_part;
    QDateTime m_when;
    BackupProgress m_progress;
    BackupLockWaits m_waits;
    std::unique_ptr<archive, ArchiveFree> m_archive{archive_write_new()};
    QStringList m_folders;
    QStringList m_loose;
    QMap<QString, QSet<QString>> m_cardFiles;
    qint64 m_total = 1;
    qint64 m_done = 0;
    BackupManifest m_manifest;
    QStringList m_inUse;
};

void Writing::scan()
{
    QDirIterator it(m_db, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = info.filePath().mid(m_db.size());
        if (info.isDir()) {
            // A card lock's guard on a network folder lives for milliseconds.
            if (!info.isSymLink() && !info.fileName().endsWith(QLatin1String(".lck.d")))
                m_folders << relative;
            continue;
        }
        // Anything but a regular file is named by the refusal of its reading.
        if (isLockFile(info.fileName()))
            continue;
        m_total += info.size();
        const QString id = BackupCardReader::cardOf(relative);
        if (id.isEmpty())
            m_loose << relative;
        else
            m_cardFiles[id].insert(relative);
    }
    m_folders.sort();
    m_loose.sort();
}

BackupResult Writing::run()
{
#ifdef __GLIBC__
    // The zip library's deflate takes and gives back a quarter megabyte for every entry.
    // Given back to the system each time, it costs fresh pages and, with the reading threads
    // about, a flush of every processor's address cache. Kept for the rest of the process.
    mallopt(M_TRIM_THRESHOLD, kKeptHeap);
#endif
    archive *a = m_archive.get();
    archive_write_set_format_zip(a);
    archive_write_set_options(a, "zip:hdrcharset=UTF-8");
    if (archive_write_open_filename(a, QFile::encodeName(m_part).constData()) != ARCHIVE_OK)
        return unwritable();
    scan();
    BackupResult result = writeAll();
    if (result.ok() && archive_write_close(a) != ARCHIVE_OK)
        result = unwritable();
    m_archive.reset();
    if (result.ok()) {
        syncToDisk(m_part);
        result = verify();
    }
    result.inUse = m_inUse;
    return result;
}

BackupResult Writing::writeAll()
{
    for (const QString &folder : std::as_const(m_folders)) {
        const BackupResult one = writeHeader(folder + QLatin1Char('/'), 0,
                                             QFileInfo(m_db + folder).lastModified(), true);
        if (!one.ok())
            return one;
    }
    for (const QString &file : std::as_const(m_loose)) {
        const BackupResult one = writeFile(file);
        if (!one.ok())
            return one;
    }
    QStringList later;
    BackupCardReader reader(m_db, m_cardFiles, m_waits.firstMs);
    for (qsizetype n = 0; n < m_cardFiles.size(); ++n) {
        const BackupCardReader::Card card = reader.next();
        bool deferred = card.state == Card::State::Busy;
        BackupResult one;
        if (card.state == Card::State::Failed)
            one = card.failure;
        else if (card.state == Card::State::Large)
            one = writeCard(card.id, m_waits.firstMs, false, deferred);
        else
            one = writeRead(card);
        if (!one.ok())
            return one;
        if (deferred)
            later << card.id;
    }
    for (const QString &id : std::as_const(later)) {
        bool deferred = false;
        const BackupResult one = writeCard(id, m_waits.retryMs, true, deferred);
        if (!one.ok())
            return one;
    }
    return writeBytes(manifestName(), m_manifest.text());
}

// The zip's own manifest is its last entry, under a name that no file of the folder's root has.
QString Writing::manifestName() const
{
    QString name = BackupManifest::fileName();
    for (int n = 2; m_loose.contains(name) || m_folders.contains(name); ++n)
        name = BackupManifest::fileName(n);
    return name;
}

BackupResult Writing::writeCard(const QString &id, qint64 waitMs, bool lastTry, bool &deferred)
{
    CardLock lock(CardLock::pathFor(m_db + id));
    // A folder that takes no lock file (read-only) is read as it is.
    if (!lock.acquire(waitMs) && lock.inUse()) {
        deferred = !lastTry;
        if (deferred)
            return BackupResult();
        m_inUse << id;
    }
    for (const QString &file : BackupCardReader::filesOf(m_db, id, m_cardFiles.value(id))) {
        const BackupResult one = writeFile(file);
        if (!one.ok())
            return one;
    }
    lock.release();
    return BackupResult();
}

BackupResult Writing::writeRead(const Card &card)
{
    for (const BackupCardReader::File &file : card.files) {
        BackupResult result = writeHeader(file.relative, file.bytes.size(), file.modified, false);
        if (!result.ok())
            return result;
        if (archive_write_data(m_archive.get(), file.bytes.constData(), file.bytes.size()) !=
            file.bytes.size())
            return unwritable();
        m_manifest.add(file.relative, file.digest);
        m_done += file.bytes.size();
        if (!goOn(m_done))
            return BackupResult::failed(Problem::Cancelled, m_part);
    }
    return BackupResult();
}

BackupResult Writing::writeFile(const QString &relative)
{
    const QString path = m_db + relative;
    BoundedFile::Status status = BoundedFile::Missing;
    QString reason;
    const std::unique_ptr<QFile> file = BoundedFile::open(path, &status, &reason);
    // Deleted since the folder was listed: the backup shows the folder as it is now.
    if (!file && status == BoundedFile::Missing)
        return BackupResult();
    const auto unreadable = [&path](const QString &why) {
        return BackupResult::failed(Problem::Unreadable, QStringLiteral("%1 (%2)").arg(path, why));
    };
    if (!file)
        return unreadable(reason);
    QFile &in = *file;
    const qint64 size = in.size();
    // No record file comes near the copy's bound; a card file beyond it is no record.
    if (!BackupCardReader::cardOf(relative).isEmpty() && size > FileCopy::kMaxBytes)
        return unreadable(BoundedFile::beyondBound(FileCopy::kMaxBytes));
    BackupResult result =
        writeHeader(relative, size, in.fileTime(QFileDevice::FileModificationTime), false);
    if (!result.ok())
        return result;
    Sha256 hash;
    char block[kBlock];
    qint64 read = 0;
    for (;;) {
        const qint64 got = in.read(block, std::min<qint64>(sizeof block, size - read));
        if (got < 0)
            return unreadable(in.errorString());
        if (got == 0)
            break;
        hash.addData(block, got);
        if (archive_write_data(m_archive.get(), block, got) != got)
            return unwritable();
        read += got;
        m_done += got;
        if (!goOn(m_done))
            return BackupResult::failed(Problem::Cancelled, m_part);
    }
    // A file that shrank while it was read would leave the entry short of its size.
    if (read != size)
        return BackupResult::failed(Problem::Unreadable, in.fileName());
    m_manifest.add(relative, hash.result());
    return BackupResult();
}

BackupResult Writing::writeBytes(const QString &relative, const QByteArray &bytes)
{
    BackupResult result = writeHeader(relative, bytes.size(), m_when, false);
    if (result.ok() &&
        archive_write_data(m_archive.get(), bytes.constData(), bytes.size()) != bytes.size())
        result = unwritable();
    return result;
}

BackupResult Writing::writeHeader(const QString &relative, qint64 size, const QDateTime &time,
                                  bool folder)
{
    std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), relative.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry.get(), folder ? 0700 : 0600);
    archive_entry_set_size(entry.get(), size);
    archive_entry_set_mtime(entry.get(), time.toSecsSinceEpoch(), time.time().msec() * 1000000L);
    if (archive_write_header(m_archive.get(), entry.get()) != ARCHIVE_OK)
        return unwritable();
    return BackupResult();
}

BackupResult Writing::verify()
{
    const qint64 written = m_total;
    BackupResult result =
        BackupReader::read(m_part, QString(), [this, written](qint64 done, qint64 total) {
            return goOn(written + done * written / std::max<qint64>(1, total));
        });
    if (result.ok() && result.files != m_manifest.size())
        result = BackupResult::failed(Problem::Damaged, m_part);
    return result;
}

BackupResult Writing::unwritable() const
{
    const char *words = m_archive ? archive_error_string(m_archive.get()) : nullptr;
    return BackupResult::failed(
        Problem::Unwritable,
        words ? QStringLiteral("%1 (%2)").arg(m_part, QString::fromUtf8(words)) : m_part);
}

} // namespace

QString BackupWriter::fileNameFor(const QDateTime &when)
{
    return QStringLiteral("Tavimer-%1.zip").arg(when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

BackupResult BackupWriter::write(const QString &dbPath, const QString &targetFolder,
                                 const QDateTime &when, const BackupProgress &progress,
                                 const BackupLockWaits &waits)
{
    if (!QFileInfo(dbPath).isDir())
        return BackupResult::failed(Problem::NoDatabase, dbPath);
    // A backup inside the folder would be backed up again the next time, and be lost with it.
    if (isInside(targetFolder, dbPath))
        return BackupResult::failed(Problem::TargetInside, targetFolder);
    if (!OwnerOnly::makeFolder(targetFolder) || isInside(targetFolder, dbPath))
        return BackupResult::failed(Problem::Unwritable, targetFolder);
    const QDir target(targetFolder);
    QString name = BackupWriter::fileNameFor(when);
    for (int n = 2; target.exists(name) || target.exists(name + QStringLiteral(".part")); ++n)
        name = BackupWriter::fileNameFor(when).replace(QStringLiteral(".zip"),
                                                       QStringLiteral("-%1.zip").arg(n));
    const QString finalPath = target.absoluteFilePath(name);
    const QString partPath = finalPath + QStringLiteral(".part");
    BackupResult result = OwnerOnly::prepareFile(partPath)
                              ? Writing(dbPath, partPath, when, progress, waits).run()
                              : BackupResult::failed(Problem::Unwritable, partPath);
    if (QString reason; result.ok() && !FileMove::withoutReplacing(partPath, finalPath, &reason))
        result = BackupResult::failed(Problem::Unwritable,
                                      QStringLiteral("%1 (%2)").arg(finalPath, reason));
    if (!result.ok()) {
        QFile::remove(partPath);
        result.inUse.clear();
        return result;
    }
    result.path = finalPath;
    return result;
}

bool BackupWriter::holdsCards(const QString &dbPath)
{
    for (const QString &folder : {dbPath, dbPath + QStringLiteral("/arc")}) {
        QDirIterator it(folder, {QStringLiteral("B*.sza")}, QDir::Files | QDir::Hidden);
        if (it.hasNext())
            return true;
    }
    return false;
}
