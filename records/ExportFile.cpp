// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ExportFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileError.h"
#include "platform/FileMove.h"
#include "platform/OwnerOnly.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {
QString absolute(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
} // namespace

ExportResult ExportFile::mayWrite(const QString &target, bool replace)
{
    const QFileInfo info(target);
    if (!replace && (info.exists() || info.isSymLink()))
        return ExportResult::failed(ExportResult::Problem::TargetExists, absolute(target));
    if (info.isDir())
        return ExportResult::fileFailed(ExportResult::Problem::Unwritable, absolute(target),
                                        qt_error_string(EISDIR));
    // The system would answer only for the part file made beside it.
    if (const QFileInfo folder(info.absolutePath()); !folder.isDir())
        return ExportResult::fileFailed(ExportResult::Problem::Unwritable, absolute(target),
                                        qt_error_string(folder.exists() ? ENOTDIR : ENOENT));
    return ExportResult();
}

ExportResult ExportFile::write(const QString &target, const QByteArray &bytes, bool replace)
{
    if (ExportResult refused = mayWrite(target, replace); !refused.ok())
        return refused;
    const QString path = absolute(target);
    const QFileInfo info(path);
    // Beside the target, so that the last step is a rename within one folder.
    const QString part = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".part-") +
                         QString::number(QCoreApplication::applicationPid());
    // The reason is the folder's or the disk's; the message names the file the user chose.
    const auto failed = [&](QString why) {
        QFile::remove(part);
        why.replace(part, path);
        return ExportResult::failed(ExportResult::Problem::Unwritable,
                                    why.startsWith(path) ? why
                                    : why.isEmpty()      ? path
                                                    : QStringLiteral("%1 (%2)").arg(path, why));
    };
    if (!OwnerOnly::prepareFile(part))
        return failed(FileError::explain(part, true));
    FileError::clear();
    if (!AtomicFile::write(part, bytes))
        return failed(FileError::last());
    QString reason;
    int error = 0;
    const bool moved = replace ? AtomicFile::replace(part, path)
                               : FileMove::withoutReplacing(part, path, &reason, &error);
    if (!moved && error == EEXIST) {
        QFile::remove(part);
        return ExportResult::failed(ExportResult::Problem::TargetExists, path);
    }
    if (!moved)
        return failed(reason.isEmpty() ? FileError::last() : path + QStringLiteral(": ") + reason);
    ExportResult done;
    done.path = path;
    return done;
}

ExportResult ExportFile::writeBuilt(const QString &target, bool replace,
                                    const std::function<ExportResult(QByteArray &)> &build)
{
    // Refused before the card is read: nothing to wait for when the answer is no.
    if (ExportResult refused = mayWrite(target, replace); !refused.ok())
        return refused;
    QByteArray bytes;
    const ExportResult built = build(bytes);
    if (!built.ok())
        return built;
    ExportResult written = write(target, bytes, replace);
    written.sheets = built.sheets;
    return written;
}
