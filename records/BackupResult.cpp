// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupResult.h"

#include "platform/FileError.h"

BackupResult BackupResult::failed(Problem problem, const QString &detail)
{
    BackupResult result;
    result.problem = problem;
    result.detail = detail;
    return result;
}

QString BackupResult::messageKey() const
{
    switch (problem) {
    case Problem::None:
        return QStringLiteral("Done");
    case Problem::Cancelled:
        return QStringLiteral("Cancelled");
    case Problem::NoDatabase:
        return QStringLiteral("NoDatabase");
    case Problem::Unreadable:
        return QStringLiteral("Unreadable");
    case Problem::Unwritable:
        return QStringLiteral("Unwritable");
    case Problem::TargetNotEmpty:
        return QStringLiteral("NotEmpty");
    case Problem::TargetInside:
        return QStringLiteral("Inside");
    case Problem::Damaged:
        return QStringLiteral("Damaged");
    case Problem::NoManifest:
        return QStringLiteral("NoManifest");
    case Problem::ChecksumMismatch:
        return QStringLiteral("Checksum");
    case Problem::Unlisted:
        return QStringLiteral("Unlisted");
    case Problem::Missing:
        return QStringLiteral("Missing");
    case Problem::UnsafeName:
        return QStringLiteral("UnsafeName");
    case Problem::NotPlain:
        return QStringLiteral("NotPlain");
    case Problem::TooLarge:
        return QStringLiteral("TooLarge");
    }
    return QString();
}

QString BackupResult::message(const QString &text) const
{
    return QString(text).replace(QLatin1String("%s"), ok() ? path : detail);
}

QString BackupResult::messageWithReason(const QString &text) const
{
    QString result = message(text);
    if (problem != Problem::Unreadable && problem != Problem::Unwritable)
        return result;
    const QString reason = FileError::explain(detail, problem == Problem::Unwritable);
    if (!reason.isEmpty())
        result += QLatin1Char('\r') + reason;
    return result;
}
