// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/HistoryVersion.h"

#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "records/CardFile.h"
#include "records/PatientDisplayName.h"

#include <optional>

HistoryVersion HistoryVersion::decode(const QString &file, const QByteArray &bytes)
{
    HistoryVersion version;
    version.kind = Kind::Unreadable;
    if (file == QLatin1String(".kl")) {
        const std::optional<KLRecord> sheet = KLRecord::decode(bytes.constData(), bytes.size());
        if (sheet) {
            version.kind = Kind::Sheet;
            version.sheet = *sheet;
        }
        return version;
    }
    const std::optional<QString> text = TextFile::decode(bytes, TextFile::Cp1250);
    if (!text)
        return version;
    if (file == QLatin1String(".sza")) {
        const ProfileFile profile = ProfileFile::fromText(file, *text);
        for (const QString &key : CardFile::keys())
            version.personal << profile.readString(CardFile::section(), key);
        version.kind = Kind::Personal;
    } else if (file == QLatin1String(".anm") || file == QLatin1String(".pan")) {
        version.text = CardFile::toMemoText(*text);
        version.kind = Kind::Text;
    }
    return version;
}

HistoryVersion HistoryVersion::withNamesHidden() const
{
    HistoryVersion hidden = *this;
    for (const char *key : {"Nev", "LanyNev", "AnyjaNeve"}) {
        const int index = CardFile::keys().indexOf(QLatin1String(key));
        if (index >= 0 && index < hidden.personal.size())
            hidden.personal[index] = PatientDisplayName::initials(hidden.personal[index]);
    }
    return hidden;
}
