// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "app/CatalogueDefaults.h"
#include "platform/Cp1250.h"

#include <QFile>

Catalogue::Catalogue(const QString &path, const QString &language)
    : m_file(path), m_builtIn(builtIn(language))
{
}

const ProfileFile &Catalogue::builtIn(const QString &language)
{
    // Compiled in from the shipped catalogues, so that a text never depends on a file that a
    // package removal or a damaged disk can take away.
    const auto load = [](const char *resource) {
        QFile file(QString::fromLatin1(resource));
        const QString text =
            file.open(QIODevice::ReadOnly) ? Cp1250::toUnicode(file.readAll()) : QString();
        return ProfileFile::fromText(QString::fromLatin1(resource), text);
    };
    static const ProfileFile hungarian = load(":/catalogues/tavimer.dat");
    static const ProfileFile english = load(":/catalogues/tavimer-en.dat");
    return language.trimmed().compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 ? english
                                                                                     : hungarian;
}

QString Catalogue::text(const QString &section, const QString &key) const
{
    std::optional<QString> value = m_file.value(section, key);
    if (!value)
        value = m_builtIn.value(section, key);
    if (!value) {
        const QString fallback = catalogueDefault(section, key);
        value = fallback.isNull() ? key : fallback;
    }
    return value->replace(QLatin1Char('#'), QLatin1Char('\r'));
}

const ProfileFile &Catalogue::readable() const
{
    return m_file.status() == BoundedFile::Read ? m_file : m_builtIn;
}

QString Catalogue::rawString(const QString &section, const QString &key) const
{
    return readable().readString(section, key);
}

int Catalogue::rawInteger(const QString &section, const QString &key) const
{
    return readable().readInteger(section, key, 0);
}
