// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProfileFile.h"

#include <QString>

// The text catalogue beside the program: window titles, captions, messages and
// the measuring point map. Lookups give what a fresh read of the file gives; it is
// read again only when it has changed.
class Catalogue
{
public:
    // `language` chooses the built-in texts that stand in for a missing file or key.
    explicit Catalogue(const QString &path, const QString &language = QString());

    const QString &path() const { return m_file.path(); }
    // There but unreadable: every text is its built-in one, as without a catalogue.
    bool isDamaged() const { return m_file.status() == BoundedFile::Damaged; }

    // The stored text; when missing, the program's own text of the language, else the key
    // itself. Every "#" becomes a carriage return.
    QString text(const QString &section, const QString &key) const;
    // Straight from the file, without the "#" rule: empty when missing. Only a file that
    // cannot be read at all gives the built-in values instead.
    QString rawString(const QString &section, const QString &key) const;
    // Straight from the file: 0 when missing or not an integer.
    int rawInteger(const QString &section, const QString &key) const;

    // The catalogue the program carries for a language: Hungarian for any it has none of.
    static const ProfileFile &builtIn(const QString &language);

private:
    const ProfileFile &readable() const;

    ProfileFile m_file;
    const ProfileFile &m_builtIn;
};
