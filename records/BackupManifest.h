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
    static QString fileName();

    void add(const QString &path, const QByteArray &digest);
    int size() const { return m_count; }
    QByteArray text() const { return m_text; }

    // Path to digest; nothing when a line is not in that form or names a file twice.
    static std::optional<QHash<QString, QByteArray>> parse(const QByteArray &text);

private:
    int m_count = 0;
    QByteArray m_text;
};
