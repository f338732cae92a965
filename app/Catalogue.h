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
    explicit Catalogue(const QString &path);

    const QString &path() const { return m_file.path(); }
    // There but unreadable: every text is its default or its key, as without a catalogue.
    bool isDamaged() const { return m_file.status() == BoundedFile::Damaged; }

    // The stored text; when missing, the built-in Hungarian default of a later key, else the key
    // itself. Every "#" becomes a carriage return.
    QString text(const QString &section, const QString &key) const;
    // Straight from the file, without the "#" rule: empty when missing.
    QString rawString(const QString &section, const QString &key) const;
    // Straight from the file: 0 when missing or not an integer.
    int rawInteger(const QString &section, const QString &key) const;

private:
    ProfileFile m_file;
};
