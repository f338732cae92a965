// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardListing.h"

#include "platform/ProfileFile.h"
#include "records/AccentFolding.h"
#include "records/CardArchive.h"
#include "records/CardFile.h"
#include "records/PatientId.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {
QString fitted(const QString &text, int width)
{
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}
// Whether a claim whose lock is free, left by a workstation that stopped before it wrote the
// card, became a card; else it is cleared, rather than keep its id taken unseen for ever.
bool settledClaim(const QString &folder, const QString &id)
{
    CardLock lock(CardLock::pathFor(folder + id));
    if (!lock.acquire(0))
        return false;
    CardArchive::settle(id, folder, folder + QStringLiteral("arc/"));
    return QFileInfo(folder + id + QStringLiteral(".sza")).size() > 0;
}

} // namespace

QString CardListing::line(const QString &name, const QString &birthDate, const QString &fileName)
{
    return fitted(name, kNameWidth) + QLatin1Char(' ') + fitted(birthDate, kBirthWidth) +
           QLatin1Char(' ') + fileName.left(PatientId::kLength);
}

QString CardListing::idOf(const QString &line)
{
    return line.mid(kIdColumn, PatientId::kLength);
}

QStringList CardListing::cardFiles(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral("B*.sza")}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    QStringList cards;
    for (const QString &name : names) {
        if (name.size() == PatientId::kLength + 4)
            cards << name;
    }
    return cards;
}

QStringList CardListing::lines(const QString &folder)
{
    QStringList result;
    for (const QString &name : cardFiles(folder)) {
        // An empty .sza is a claim whose card is not written yet: no patient.
        if (const QFileInfo info(folder + name); info.isFile() && info.size() == 0) {
            if (!settledClaim(folder, name.left(PatientId::kLength)))
                continue;
        }
        const ProfileFile file(folder + name);
        result << line(file.readString(CardFile::section(), QStringLiteral("Nev")),
                       file.readString(CardFile::section(), QStringLiteral("SzulDatum")), name);
    }
    sort(result);
    return result;
}

void CardListing::sort(QStringList &lines)
{
    // Keys made once: a folder of thousands of cards is sorted at every showing.
    struct Keyed
    {
        QByteArray key;
        QString line;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(lines.size());
    for (const QString &line : lines)
        keyed.push_back({AccentFolding::searchKey(line), line});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : AccentFolding::lessThan(a.line, b.line);
    });
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = keyed[i].line;
}

int CardListing::findLine(const QStringList &lines, const QString &typed)
{
    // Accents typed as combining marks count as the letters they make.
    const QString composed = typed.normalized(QString::NormalizationForm_C);
    if (composed.isEmpty())
        return -1;
    const QByteArray key = AccentFolding::searchKey(composed);
    for (int i = 0; i < lines.size(); ++i) {
        if (key.compare(AccentFolding::searchKey(lines[i].left(composed.size()))) <= 0)
            return i;
    }
    return -1;
}
