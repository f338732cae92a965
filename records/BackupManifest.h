// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

// The checksum list at the root of a backup, in the form `sha256sum -c` reads: the SHA-256 in
// hex, two blanks and the path relative to the zip's root, one file a line.
class BackupManifest
{
public:
    // MANIFEST.sha256, or the n-th name (MANIFEST-2.sha256, ...) for a folder that holds a
    // file of that name at its root. Zips before those names held the first only.
    static QString fileName(int n = 1);
    // Whether a path of the zip is one of those names.
    static bool isFileName(const QString &path);

    void add(const QString &path, const QByteArray &digest);
    int size() const { return m_count; }
    QByteArray text() const { return m_text; }

    // Path to digest; nothing when a line is not in that form or names a file twice.
    static std::optional<QHash<QString, QByteArray>> parse(const QByteArray &text);

private:
    int m_count = 0;
    QByteArray m_text;
};
