#include "app/Catalogue.h"

Catalogue::Catalogue(const QString &path) : m_file(path) {}

QString Catalogue::text(const QString &section, const QString &key) const
{
    QString value = m_file.readString(section, key, key);
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
