// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/HistoryVersion.h"

#include "platform/TextFile.h"
#include "records/CardFile.h"
#include "records/PatientDisplayName.h"

#include <optional>

HistoryVersion HistoryVersion::decode(const QString &file, const QByteArray &bytes)
{
    HistoryVersion version;
    version.kind = Kind::Unreadable;
    if (file == QLatin1String(".kl")) {
        for (qsizetype at = 0; at < bytes.size(); at += KLRecord::kRecordSize) {
            const std::optional<KLRecord> sheet =
                KLRecord::decode(bytes.constData() + at, bytes.size() - at);
            if (!sheet)
                break;
            version.sheets << *sheet;
        }
        if (!version.sheets.isEmpty())
            version.kind = Kind::Sheets;
        return version;
    }
    if (file == QLatin1String(".sza")) {
        version.personal = CardFile::personalFromBytes(bytes);
        version.kind = Kind::Personal;
        return version;
    }
    const std::optional<QString> text = TextFile::decode(bytes, TextFile::Cp1250);
    if (!text)
        return version;
    if (file == QLatin1String(".anm") || file == QLatin1String(".pan")) {
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
