// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Called now and then with the work done so far; returning false cancels the work.
using BackupProgress = std::function<bool(qint64 done, qint64 total)>;

// How a backup, a check or a restore ended, and what it concerned.
struct BackupResult
{
    enum class Problem
    {
        None,
        Cancelled,
        NoDatabase,
        Unreadable,
        Unwritable,
        TargetNotEmpty,
        TargetInside,
        Damaged,
        NoManifest,
        ChecksumMismatch,
        Unlisted,
        Missing,
        UnsafeName,
        NotPlain,
        // An entry beyond what a restore may write, or more than the target has room for.
        TooLarge,
    };

    Problem problem = Problem::None;
    // The file, entry or folder concerned, or the zip library's own words.
    QString detail;
    // The zip made, or the folder restored.
    QString path;
    int files = 0;
    // Cards still in use after the retry: their files were read without the lock.
    QStringList inUse;

    bool ok() const { return problem == Problem::None; }
    static BackupResult failed(Problem problem, const QString &detail);
    // The catalogue key in [Backup] of the text that tells what happened.
    QString messageKey() const;
    // That text with the detail in place of its "%s".
    QString message(const QString &text) const;
    // The same, and on a line of its own why the system would not read or write the file or
    // folder concerned, where it says.
    QString messageWithReason(const QString &text) const;
};
