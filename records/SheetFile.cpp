// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SheetFile.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileCopy.h"
#include "platform/MountKind.h"

#include <QFile>
#include <QFileInfo>

static_assert(FileCopy::kMaxBytes > SheetFile::kMaxBytes, "a whole sheet file can be copied");

SheetFile::SheetFile(QString path) : m_path(std::move(path)) {}

bool SheetFile::exists() const
{
    return QFileInfo::exists(m_path);
}

bool SheetFile::isDamaged() const
{
    BoundedFile::Status status = BoundedFile::Missing;
    const std::unique_ptr<QFile> file = BoundedFile::open(m_path, &status);
    return status == BoundedFile::Damaged || (file && file->size() > kMaxBytes);
}

QList<KLRecord> SheetFile::parse(const QByteArray &bytes, qsizetype *complete)
{
    QList<KLRecord> sheets;
    qsizetype offset = 0;
    while (auto record = KLRecord::decode(bytes.constData() + offset, bytes.size() - offset)) {
        sheets.append(*record);
        offset += KLRecord::kRecordSize;
    }
    if (complete)
        *complete = offset;
    return sheets;
}

BoundedFile::Status SheetFile::readBytes(QByteArray &bytes) const
{
    bytes.clear();
    BoundedFile::Status status = BoundedFile::Missing;
    const std::unique_ptr<QFile> file = BoundedFile::open(m_path, &status);
    if (!file)
        return status;
    return BoundedFile::readUpTo(*file, kMaxBytes, bytes) ? BoundedFile::Read
                                                          : BoundedFile::Damaged;
}

bool SheetFile::readWhole(QByteArray &bytes) const
{
    return readBytes(bytes) == BoundedFile::Read && bytes.size() <= kMaxBytes;
}

bool SheetFile::read(QList<KLRecord> &sheets) const
{
    QByteArray bytes;
    if (readBytes(bytes) != BoundedFile::Read)
        return false;
    sheets = parse(bytes);
    return true;
}

bool SheetFile::append(const KLRecord &record)
{
    QByteArray bytes;
    if (readBytes(bytes) == BoundedFile::Damaged)
        return false;
    qsizetype complete = 0;
    parse(bytes, &complete);
    if (complete != bytes.size())
        return false;
    return AtomicFile::write(m_path, bytes + record.bytes());
}

bool SheetFile::writeHeader(int index, const KLRecord &record)
{
    QByteArray bytes;
    if (!readWhole(bytes) || index < 0 || index >= parse(bytes).size())
        return false;
    bytes.replace(qsizetype(index) * KLRecord::kRecordSize, KLRecord::kHeaderSize, record.header());
    return AtomicFile::write(m_path, bytes);
}

bool SheetFile::insertSheet(int index, const QByteArray &record)
{
    QByteArray bytes;
    if (readBytes(bytes) == BoundedFile::Damaged || record.size() != KLRecord::kRecordSize)
        return false;
    const qsizetype count = parse(bytes).size();
    if (index < 0 || index > count || count >= kMaxSheets)
        return false;
    bytes.insert(qsizetype(index) * KLRecord::kRecordSize, record);
    return AtomicFile::write(m_path, bytes);
}

int SheetFile::sheetsBeforeDamage() const
{
    QByteArray bytes;
    if (readBytes(bytes) != BoundedFile::Read)
        return -1;
    qsizetype complete = 0;
    const qsizetype count = parse(bytes, &complete).size();
    return complete == bytes.size() ? -1 : int(count);
}

bool SheetFile::removeSheet(int index, const QString &temporaryPath)
{
    QByteArray bytes;
    if (!readWhole(bytes) || index < 0 || index >= parse(bytes).size())
        return false;
    // A damaged tail stays as it was: it may still be mended by hand.
    QByteArray kept = bytes;
    kept.remove(qsizetype(index) * KLRecord::kRecordSize, KLRecord::kRecordSize);
    // A share that replaces by removing first would leave the card without sheets for a moment,
    // or for good when the rename then fails: the file is written in place there.
    if (!MountKind::traitsAt(m_path).atomicReplace)
        return AtomicFile::write(m_path, kept);
    // Flushed to disk like every other write before it takes the file's place.
    return AtomicFile::write(temporaryPath, kept) && AtomicFile::replace(temporaryPath, m_path);
}
