// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How an export of the records ended. A failure's detail names the file or card concerned
// and, where the system gave one, its reason ("/home/x/out.json: Permission denied").
struct ExportResult
{
    enum class Problem
    {
        None,
        NoCard,
        InUse,
        Unreadable,
        TargetExists,
        Unwritable,
    };

    Problem problem = Problem::None;
    QString detail;
    // The file written.
    QString path;
    // Sheets written.
    int sheets = 0;

    bool ok() const { return problem == Problem::None; }
    static ExportResult failed(Problem problem, const QString &detail);
    // Unreadable or Unwritable with the system's reason for `path`, as the last failed write
    // noted it or as the system answers now.
    static ExportResult fileFailed(Problem problem, const QString &path,
                                   const QString &reason = QString());
    // The catalogue key in [Export] of the text that tells what happened.
    QString messageKey() const;
    // That text with the detail, or on success the file, in place of its "%s".
    QString message(const QString &text) const;
};
