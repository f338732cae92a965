// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1250.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "records/SheetFile.h"

#include <QFileInfo>

namespace {

QStringList personalValues(const ProfileFile &file)
{
    QStringList values;
    for (const QString &key : CardFile::keys())
        values << file.readString(CardFile::section(), key);
    return values;
}

} // namespace

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

CardFile::Contents CardFile::read(const QString &base)
{
    Contents card;
    const ProfileFile personal(base + QStringLiteral(".sza"));
    card.personal = personalValues(personal);
    const QString anm = base + QStringLiteral(".anm");
    const QString pan = base + QStringLiteral(".pan");
    const QString kl = base + QStringLiteral(".kl");
    const bool anmRead = readMemo(anm, card.anamnesis);
    const bool panRead = readMemo(pan, card.complaints);
    if (personal.status() == BoundedFile::Damaged)
        card.damaged = personal.path();
    else if (!anmRead)
        card.damaged = anm;
    else if (!panRead)
        card.damaged = pan;
    else if (SheetFile(kl).isDamaged())
        card.damaged = kl;
    return card;
}

QStringList CardFile::readPersonal(const QString &path)
{
    return personalValues(ProfileFile(path));
}

QStringList CardFile::personalFromBytes(const QByteArray &bytes)
{
    return personalValues(ProfileFile::fromText(QString(), Cp1250::toUnicode(bytes)));
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
    QString fileText;
    const BoundedFile::Status status = TextFile::read(path, TextFile::Cp1250, fileText);
    text = toMemoText(fileText);
    return status != BoundedFile::Damaged;
}

bool CardFile::writeMemo(const QString &path, const QString &text)
{
    // The window shows a damaged memo as empty; that must not become its content.
    QString stored;
    if (!readMemo(path, stored))
        return false;
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
