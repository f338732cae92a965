// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupRestore.h"

#include "platform/FileMove.h"
#include "platform/OwnerOnly.h"
#include "records/BackupReader.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Problem = BackupResult::Problem;

bool isEmptyOrMissing(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return true;
    return info.isDir() &&
           QDir(folder)
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
               .isEmpty();
}

// The outermost folder that mkpath would create for `folder`; empty when its parent exists.
QString firstMissingParent(const QString &folder)
{
    QString missing;
    for (QFileInfo parent(QFileInfo(folder).absolutePath()); !parent.exists();
         parent.setFile(parent.absolutePath()))
        missing = parent.absoluteFilePath();
    return missing;
}

QString makePartialBeside(const QString &target)
{
    for (int n = 1; n < 1000; ++n) {
        const QString partial =
            target + (n == 1 ? QStringLiteral(".part") : QStringLiteral(".part%1").arg(n));
        if (!QFileInfo::exists(partial) && QDir().mkdir(partial, OwnerOnly::kFolder))
            return partial;
    }
    return QString();
}

BackupResult place(const QString &partial, const QString &target)
{
    // Emptiness is asked again: something may have arrived meanwhile.
    if (!isEmptyOrMissing(target))
        return BackupResult::failed(Problem::TargetNotEmpty, target);
    const bool existed = QFileInfo::exists(target);
    if (existed && !QDir().rmdir(target))
        return BackupResult::failed(Problem::Unwritable, target);
    if (FileMove::withoutReplacing(partial, target))
        return BackupResult();
    if (existed)
        QDir().mkdir(target);
    return BackupResult::failed(Problem::Unwritable, target);
}

} // namespace

BackupResult BackupRestore::restore(const QString &zipPath, const QString &targetFolder,
                                    const BackupProgress &progress)
{
    const QString target = QDir::cleanPath(QFileInfo(targetFolder).absoluteFilePath());
    if (!isEmptyOrMissing(target))
        return BackupResult::failed(Problem::TargetNotEmpty, target);
    const QString createdParent = firstMissingParent(target);
    QDir().mkpath(QFileInfo(target).absolutePath());
    const QString partial = makePartialBeside(target);
    BackupResult result = partial.isEmpty() ? BackupResult::failed(Problem::Unwritable, target)
                                            : BackupReader::read(zipPath, partial, progress);
    if (result.ok()) {
        const int files = result.files;
        result = place(partial, target);
        result.files = files;
    }
    if (!result.ok()) {
        if (!partial.isEmpty())
            QDir(partial).removeRecursively();
        if (!createdParent.isEmpty())
            QDir(createdParent).removeRecursively();
        return result;
    }
    result.path = target;
    return result;
}
