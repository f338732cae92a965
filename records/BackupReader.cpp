// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupReader.h"

#include "platform/BoundedFile.h"
#include "platform/FileTime.h"
#include "platform/OwnerOnly.h"
#include "platform/Sha256.h"

#include "records/BackupManifest.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>

namespace {

constexpr int kBlock = 1 << 16;
constexpr qint64 kMaxManifest = 64 << 20;

using Problem = BackupResult::Problem;

qint64 &entryLimit()
{
    static qint64 limit = BackupReader::kMaxEntryBytes;
    return limit;
}

BackupResult tooLarge(const QString &what, qint64 bytes, qint64 room)
{
    return BackupResult::failed(
        Problem::TooLarge, QStringLiteral("%1 (%2 > %3 bytes)").arg(what).arg(bytes).arg(room));
}
struct ArchiveFree
{
    void operator()(archive *a) const { archive_read_free(a); }
};

QString libraryWords(archive *a, const QString &zipPath)
{
    const char *words = archive_error_string(a);
    return words ? QStringLiteral("%1 (%2)").arg(zipPath, QString::fromUtf8(words)) : zipPath;
}

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    return QString::fromLocal8Bit(archive_entry_pathname(entry));
}

QDateTime entryTime(archive_entry *entry)
{
    if (!archive_entry_mtime_is_set(entry))
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry), Qt::UTC)
        .addMSecs(archive_entry_mtime_nsec(entry) / 1000000);
}

class Reading
{
public:
    Reading(const QString &zipPath, const QString &folder, const BackupProgress &progress)
        : m_zipPath(zipPath), m_folder(folder), m_progress(progress),
          m_total(std::max<qint64>(1, QFileInfo(zipPath).size()))
    {
    }

    BackupResult run();

private:
    BackupResult checkRoom() const;
    BackupResult entry(archive_entry *entry);
    BackupResult file(const QString &name, const QDateTime &time);
    BackupResult folder(const QString &name, const QDateTime &time);
    BackupResult takeManifest();
    BackupResult compareWithManifest() const;
    bool goOn() const { return !m_progress || m_progress(std::min(done(), m_total), m_total); }
    qint64 done() const { return archive_filter_bytes(m_archive.get(), -1); }
    QString target(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

    QString m_zipPath;
    QString m_folder;
    BackupProgress m_progress;
    qint64 m_total;
    std::unique_ptr<QFile> m_file;
    std::unique_ptr<archive, ArchiveFree> m_archive{archive_read_new()};
    QHash<QString, QByteArray> m_digests;
    QSet<QString> m_folders;
    QList<QPair<QString, QDateTime>> m_folderTimes;
    // Files named like a manifest at the root, and the last entry, which names the one.
    QHash<QString, QByteArray> m_manifestLike;
    QString m_last;
    QString m_manifestName;
    std::optional<QByteArray> m_manifest;
};

BackupResult Reading::run()
{
    archive *a = m_archive.get();
    archive_read_support_format_zip_seekable(a);
    // Opened as a regular file only and without waiting: a FIFO named like a zip never blocks.
    QString reason;
    m_file = BoundedFile::open(m_zipPath, nullptr, &reason);
    if (!m_file)
        return BackupResult::failed(Problem::Unreadable,
                                    QStringLiteral("%1 (%2)").arg(m_zipPath, reason));
    if (!m_folder.isEmpty()) {
        if (const BackupResult room = checkRoom(); !room.ok())
            return room;
    }
    if (archive_read_open_fd(a, m_file->handle(), kBlock) != ARCHIVE_OK)
        return BackupResult::failed(Problem::Damaged, libraryWords(a, m_zipPath));
    for (;;) {
        archive_entry *next = nullptr;
        const int status = archive_read_next_header(a, &next);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN)
            return BackupResult::failed(Problem::Damaged, libraryWords(a, m_zipPath));
        const BackupResult one = entry(next);
        if (!one.ok())
            return one;
        if (!goOn())
            return BackupResult::failed(Problem::Cancelled, m_zipPath);
    }
    BackupResult result = takeManifest();
    if (result.ok())
        result = compareWithManifest();
    if (!result.ok())
        return result;
    // Last, since unpacking a folder's files touches its time.
    for (auto it = m_folderTimes.crbegin(); it != m_folderTimes.crend(); ++it)
        FileTime::setModified(target(it->first), it->second);
    result.files = m_digests.size();
    result.path = m_zipPath;
    return result;
}

// Before anything is written: the sizes the zip declares against the bound of one entry and
// against the room left where it is unpacked.
BackupResult Reading::checkRoom() const
{
    const std::unique_ptr<QFile> file = BoundedFile::open(m_zipPath);
    std::unique_ptr<archive, ArchiveFree> headers(archive_read_new());
    archive *a = headers.get();
    archive_read_support_format_zip_seekable(a);
    if (!file || archive_read_open_fd(a, file->handle(), kBlock) != ARCHIVE_OK)
        return BackupResult::failed(Problem::Damaged, libraryWords(a, m_zipPath));
    qint64 total = 0;
    archive_entry *next = nullptr;
    while (archive_read_next_header(a, &next) == ARCHIVE_OK) {
        const qint64 size = archive_entry_size_is_set(next) ? archive_entry_size(next) : 0;
        if (size > entryLimit())
            return tooLarge(entryName(next), size, entryLimit());
        total += size;
    }
    const qint64 room = QStorageInfo(QFileInfo(m_folder).absolutePath()).bytesAvailable();
    return room >= 0 && total > room ? tooLarge(m_folder, total, room) : BackupResult();
}

BackupResult Reading::entry(archive_entry *entry)
{
    QString name = entryName(entry);
    if (!BackupReader::isSafeName(name))
        return BackupResult::failed(Problem::UnsafeName, name);
    const auto type = archive_entry_filetype(entry);
    if (archive_entry_hardlink(entry) || (type != AE_IFREG && type != AE_IFDIR))
        return BackupResult::failed(Problem::NotPlain, name);
    while (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    const bool twice = m_digests.contains(name) || (type != AE_IFDIR && m_folders.contains(name));
    // A file and a folder of one path could never both be unpacked: verifying refuses what
    // restoring would.
    bool underFile = false;
    for (qsizetype slash = name.indexOf(QLatin1Char('/')); slash > 0;
         slash = name.indexOf(QLatin1Char('/'), slash + 1)) {
        underFile = underFile || m_digests.contains(name.left(slash));
        m_folders.insert(name.left(slash));
    }
    if (name.isEmpty() || twice || underFile)
        return BackupResult::failed(Problem::Damaged, m_zipPath + QStringLiteral(": ") + name);
    m_last = name;
    if (type == AE_IFDIR)
        m_folders.insert(name);
    if (type == AE_IFDIR)
        return folder(name, entryTime(entry));
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > entryLimit())
        return tooLarge(name, archive_entry_size(entry), entryLimit());
    return file(name, entryTime(entry));
}

BackupResult Reading::folder(const QString &name, const QDateTime &time)
{
    if (m_folder.isEmpty())
        return BackupResult();
    if (!OwnerOnly::makeFolder(target(name)))
        return BackupResult::failed(Problem::Unwritable, target(name));
    if (time.isValid())
        m_folderTimes.append({name, time});
    return BackupResult();
}

BackupResult Reading::file(const QString &name, const QDateTime &time)
{
    const bool isManifest = BackupManifest::isFileName(name);
    QFile out(target(name));
    if (!m_folder.isEmpty()) {
        OwnerOnly::makeFolder(QFileInfo(out.fileName()).absolutePath());
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly::kFile))
            return BackupResult::failed(Problem::Unwritable, out.fileName());
    }
    Sha256 hash;
    QByteArray manifest;
    char block[kBlock];
    qint64 read = 0;
    for (;;) {
        const la_ssize_t size = archive_read_data(m_archive.get(), block, sizeof block);
        if (size < 0)
            return BackupResult::failed(Problem::Damaged, libraryWords(m_archive.get(), name));
        if (size == 0)
            break;
        // A size the zip understates is no licence to fill the disk.
        if ((read += size) > entryLimit())
            return tooLarge(name, read, entryLimit());
        hash.addData(block, size);
        if (isManifest && manifest.size() + size <= kMaxManifest)
            manifest.append(block, size);
        if (out.isOpen() && out.write(block, size) != size)
            return BackupResult::failed(Problem::Unwritable, out.fileName());
        if (!goOn())
            return BackupResult::failed(Problem::Cancelled, m_zipPath);
    }
    if (out.isOpen()) {
        if (!out.flush())
            return BackupResult::failed(Problem::Unwritable, out.fileName());
        if (time.isValid())
            out.setFileTime(time, QFileDevice::FileModificationTime);
    }
    if (isManifest)
        m_manifestLike.insert(name, manifest);
    m_digests.insert(name, hash.result());
    return BackupResult();
}

// The zip's own manifest is its last entry; zips made before a folder's own file of that
// name was provided for hold it as MANIFEST.sha256, last too unless another program
// packed them again.
BackupResult Reading::takeManifest()
{
    const QString name = BackupManifest::isFileName(m_last) && m_manifestLike.contains(m_last)
                             ? m_last
                             : BackupManifest::fileName();
    if (!m_manifestLike.contains(name))
        return BackupResult::failed(Problem::NoManifest, m_zipPath);
    m_manifestName = name;
    m_manifest = m_manifestLike.value(name);
    m_digests.remove(name);
    if (!m_folder.isEmpty() && !QFile::remove(target(name)))
        return BackupResult::failed(Problem::Unwritable, target(name));
    return BackupResult();
}

BackupResult Reading::compareWithManifest() const
{
    if (!m_manifest)
        return BackupResult::failed(Problem::NoManifest, m_zipPath);
    const auto parsed = BackupManifest::parse(*m_manifest);
    if (!parsed)
        return BackupResult::failed(Problem::Damaged, m_manifestName);
    // The zip library reads a backslash in a name as a folder separator, as Windows does.
    QHash<QString, QByteArray> listed;
    for (auto it = parsed->cbegin(); it != parsed->cend(); ++it)
        listed.insert(QString(it.key()).replace(QLatin1Char('\\'), QLatin1Char('/')), it.value());
    for (auto it = m_digests.cbegin(); it != m_digests.cend(); ++it) {
        if (!listed.contains(it.key()))
            return BackupResult::failed(Problem::Unlisted, it.key());
        if (listed.value(it.key()) != it.value())
            return BackupResult::failed(Problem::ChecksumMismatch, it.key());
    }
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        if (!m_digests.contains(it.key()))
            return BackupResult::failed(Problem::Missing, it.key());
    }
    return BackupResult();
}

} // namespace

BackupResult BackupReader::read(const QString &zipPath, const QString &folder,
                                const BackupProgress &progress)
{
    return Reading(zipPath, folder, progress).run();
}

bool BackupReader::isSafeName(const QString &name)
{
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        name.contains(driveLetter) || name.contains(QChar(0)))
        return false;
    static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
    return !name.split(separator).contains(QStringLiteral(".."));
}

void BackupReader::setEntryLimit(qint64 bytes)
{
    entryLimit() = bytes > 0 ? bytes : kMaxEntryBytes;
}
