// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BoundedFile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// An ini-format file in Windows-1250: "[Section]" lines and "key=value" lines.
// Section and key names match without regard to case. Lookups read the file once and
// again only when it has changed; a write rewrites the whole file atomically and keeps
// every other line as it was. A file that cannot be read reads as empty and is never
// written over.
class ProfileFile
{
public:
    static constexpr int kMaxValueLength = 2047;

    enum Kind
    {
        // Record files and the catalogue, shared with other programs: always Windows-1250.
        SharedText,
        // This installation's own settings: UTF-8 whenever Windows-1250 cannot hold a value,
        // and written in place where no file can be created beside it.
        OwnSettings,
    };

    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };

    explicit ProfileFile(QString path, Kind kind = SharedText);
    // Values held in the program itself, parsed as a file of that text would be; never written.
    static ProfileFile fromText(QString name, const QString &text);

    const QString &path() const { return m_path; }
    bool exists() const;
    // Damaged for a file that is there but cannot be read as the text it should be.
    BoundedFile::Status status() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key,
                       const QString &fallback = QString()) const;
    int readInteger(const QString &section, const QString &key, int fallback) const;

    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    // All entries in one replacement of the file, so that a crash never leaves half of them.
    bool write(const QList<Entry> &entries);

    // Decimal (optionally signed), or hexadecimal after "0x"/"0X"; anything else is absent.
    static std::optional<int> parseInteger(const QString &text);

private:
    struct Contents;

    BoundedFile::Status readLines(QStringList &lines) const;
    static std::shared_ptr<Contents> parse(const QStringList &lines);
    std::shared_ptr<const Contents> contents() const;
    QByteArray encode(const QString &text) const;

    QString m_path;
    Kind m_kind;
    // A catalogue is asked for hundreds of texts at start-up.
    mutable std::shared_ptr<const Contents> m_contents;
    bool m_fixed = false;
};
