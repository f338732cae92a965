// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The newest program version that has worked with a database folder, kept in a small file of
// the folder (".tavimer-version", which no card listing reads), so that an older workstation
// on a shared folder learns that a newer one shares it. The records' formats are the same in
// every version: nothing is refused.
class DatabaseVersion
{
public:
    static QString fileName() { return QStringLiteral(".tavimer-version"); }

    // Records `mine` unless the folder already names a version as new or newer. Returns the
    // newer version of another program, or empty. `failure` receives the file and the reason
    // when the record could not be written.
    static QString update(const QString &dbPath, const QString &mine, QString *failure = nullptr);
    // Whether the user is still to be told of `newer`: once per newer version, kept in the
    // user's settings ([Database] NewerVersionTold).
    static bool tellOnce(const QString &settingsPath, const QString &newer);
};
