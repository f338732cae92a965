// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "app/CatalogueDefaults.h"

Catalogue::Catalogue(const QString &path) : m_file(path) {}

QString Catalogue::text(const QString &section, const QString &key) const
{
    const std::optional<QString> stored = m_file.value(section, key);
    QString value = stored ? *stored : catalogueDefault(section, key);
    if (!stored && value.isNull())
        value = key;
    value.replace(QLatin1Char('#'), QLatin1Char('\r'));
    return value;
}

QString Catalogue::rawString(const QString &section, const QString &key) const
{
    return m_file.readString(section, key);
}

int Catalogue::rawInteger(const QString &section, const QString &key) const
{
    return m_file.readInteger(section, key, 0);
}
