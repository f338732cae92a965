// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupReader.h"

#include "platform/FileTime.h"
#include "platform/OwnerOnly.h"

#include "records/BackupManifest.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>

namespace {

constexpr int kBlock = 1 << 16;
constexpr qint64 kMaxManifest = 64 << 20;

using Problem = BackupResult::Problem;

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
    BackupResult entry(archive_entry *entry);
    BackupResult file(const QString &name, const QDateTime &time);
    BackupResult folder(const QString &name, const QDateTime &time);
    BackupResult compareWithManifest() const;
    bool goOn() const { return !m_progress || m_progress(std::min(done(), m_total), m_total); }
    qint64 done() const { return archive_filter_bytes(m_archive.get(), -1); }
    QString target(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

    QString m_zipPath;
    QString m_folder;
    BackupProgress m_progress;
    qint64 m_total;
    std::unique_ptr<archive, ArchiveFree> m_archive{archive_read_new()};
    QHash<QString, QByteArray> m_digests;
    QList<QPair<QString, QDateTime>> m_folderTimes;
    std::optional<QByteArray> m_manifest;
};

BackupResult Reading::run()
{
    archive *a = m_archive.get();
    archive_read_support_format_zip_seekable(a);
    if (archive_read_open_filename(a, QFile::encodeName(m_zipPath).constData(), kBlock) !=
        ARCHIVE_OK) {
        return QFileInfo(m_zipPath).isReadable()
                   ? BackupResult::failed(Problem::Damaged, libraryWords(a, m_zipPath))
                   : BackupResult::failed(Problem::Unreadable, m_zipPath);
    }
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
    BackupResult result = compareWithManifest();
    if (!result.ok())
        return result;
    // Last, since unpacking a folder's files touches its time.
    for (auto it = m_folderTimes.crbegin(); it != m_folderTimes.crend(); ++it)
        FileTime::setModified(target(it->first), it->second);
    result.files = m_digests.size();
    result.path = m_zipPath;
    return result;
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
    const bool twice =
        m_digests.contains(name) || (name == BackupManifest::fileName() && m_manifest);
    if (name.isEmpty() || twice)
        return BackupResult::failed(Problem::Damaged, m_zipPath + QStringLiteral(": ") + name);
    if (type == AE_IFDIR)
        return folder(name, entryTime(entry));
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
    const bool isManifest = name == BackupManifest::fileName();
    QFile out(target(name));
    if (!m_folder.isEmpty() && !isManifest) {
        OwnerOnly::makeFolder(QFileInfo(out.fileName()).absolutePath());
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly::kFile))
            return BackupResult::failed(Problem::Unwritable, out.fileName());
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray manifest;
    char block[kBlock];
    for (;;) {
        const la_ssize_t size = archive_read_data(m_archive.get(), block, sizeof block);
        if (size < 0)
            return BackupResult::failed(Problem::Damaged, libraryWords(m_archive.get(), name));
        if (size == 0)
            break;
        hash.addData(QByteArrayView(block, size));
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
        m_manifest = manifest;
    else
        m_digests.insert(name, hash.result());
    return BackupResult();
}

BackupResult Reading::compareWithManifest() const
{
    if (!m_manifest)
        return BackupResult::failed(Problem::NoManifest, m_zipPath);
    const auto parsed = BackupManifest::parse(*m_manifest);
    if (!parsed)
        return BackupResult::failed(Problem::Damaged, BackupManifest::fileName());
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
    // The zip library would read standard input for an empty name.
    if (!QFileInfo(zipPath).isFile())
        return BackupResult::failed(BackupResult::Problem::Unreadable, zipPath);
    return Reading(zipPath, folder, progress).run();
}

bool BackupReader::isSafeName(const QString &name)
{
    static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        name.contains(driveLetter) || name.contains(QChar(0)))
        return false;
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    return !parts.contains(QStringLiteral(".."));
}
