#include "records/CardFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1250.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

const QString &CardFile::section()
{
    static const QString name = QStringLiteral("SzemelyiAdatok");
    return name;
}

const QStringList &CardFile::keys()
{
    static const QStringList list = {
        QStringLiteral("Nev"),     QStringLiteral("SzulDatum"), QStringLiteral("Neme"),
        QStringLiteral("LanyNev"), QStringLiteral("AnyjaNeve"), QStringLiteral("Helyseg"),
        QStringLiteral("Irsz"),    QStringLiteral("Cim"),       QStringLiteral("Tel"),
        QStringLiteral("Fogl"),    QStringLiteral("TAJ"),       QStringLiteral("TMag"),
        QStringLiteral("Suly"),    QStringLiteral("Diagn"),     QStringLiteral("BNO"),
        QStringLiteral("ID"),      QStringLiteral("FelvDatum")};
    return list;
}

QStringList CardFile::readPersonal(const QString &path)
{
    const ProfileFile file(path);
    QStringList values;
    for (const QString &key : keys())
        values << file.readString(section(), key);
    return values;
}

bool CardFile::writePersonal(const QString &path, const QStringList &values)
{
    ProfileFile file(path);
    const QStringList stored = readPersonal(path);
    QList<ProfileFile::Entry> entries;
    for (int i = 0; i < keys().size(); ++i) {
        const QString value = oneLine(values.value(i));
        const bool keptCut = stored[i].size() == ProfileFile::kMaxValueLength && value == stored[i];
        if (!keptCut)
            entries.append({section(), keys()[i], value});
    }
    return file.write(entries);
}

QString CardFile::oneLine(const QString &text)
{
    return QString(text)
        .replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString CardFile::toFileText(const QString &memoText)
{
    return QString(memoText).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QString CardFile::toMemoText(const QString &fileText)
{
    return QString(fileText)
        .replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

bool CardFile::readMemo(const QString &path, QString &text)
{
    text.clear();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    text = toMemoText(Cp1250::toUnicode(bytes));
    return true;
}

bool CardFile::writeMemo(const QString &path, const QString &text)
{
    return AtomicFile::write(path, Cp1250::fromUnicode(toFileText(text)));
}

void CardFile::moveToBackups(const QString &base)
{
    for (const char *extension : {"sza", "anm", "pan", "kl"}) {
        const QString file = base + QLatin1Char('.') + QLatin1String(extension);
        if (QFileInfo::exists(file))
            AtomicFile::replace(file, base + QLatin1String(".~") + QLatin1String(extension));
    }
}
