// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ExportResult.h"

#include "platform/FileError.h"

ExportResult ExportResult::failed(Problem problem, const QString &detail)
{
    ExportResult result;
    result.problem = problem;
    result.detail = detail;
    return result;
}

ExportResult ExportResult::fileFailed(Problem problem, const QString &path, const QString &reason)
{
    if (!reason.isEmpty())
        return failed(problem, path + QStringLiteral(": ") + reason);
    QString detail = FileError::explain(path, problem == Problem::Unwritable);
    if (detail.isEmpty())
        detail = FileError::last();
    return failed(problem, detail.isEmpty() ? path : detail);
}

QString ExportResult::messageKey() const
{
    switch (problem) {
    case Problem::None:
        return QStringLiteral("Done");
    case Problem::NoCard:
        return QStringLiteral("NoCard");
    case Problem::InUse:
        return QStringLiteral("InUse");
    case Problem::Unreadable:
        return QStringLiteral("Unreadable");
    case Problem::TargetExists:
        return QStringLiteral("Exists");
    case Problem::Unwritable:
        return QStringLiteral("Unwritable");
    }
    return QString();
}

QString ExportResult::message(const QString &text) const
{
    return QString(text).replace(QLatin1String("%s"), ok() ? path : detail);
}
