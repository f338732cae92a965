// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/PatientDisplayName.h"

#include "records/CardListing.h"

#include <QStringList>
#include <algorithm>

QString PatientDisplayName::initials(const QString &name)
{
    QStringList letters;
    const QStringList words = name.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        // A quote or a bracket before the name is no initial; a word without a letter has none.
        const auto letter =
            std::find_if(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (letter != word.end())
            letters << QString(letter->toUpper()) + QLatin1Char('.');
    }
    return letters.join(QLatin1Char(' '));
}

QString PatientDisplayName::inCaption(const QString &name, const QString &id, bool hidden)
{
    return hidden && !name.isEmpty() ? id : name;
}

QString PatientDisplayName::hiddenLine(const QString &line)
{
    return CardListing::line(initials(line.left(CardListing::kNameWidth)), QString(),
                             CardListing::idOf(line));
}
