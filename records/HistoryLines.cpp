// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/HistoryLines.h"

#include "app/Catalogue.h"

namespace {
QString text(const Catalogue &catalogue, const char *key)
{
    return catalogue.text(QStringLiteral("History"), QLatin1String(key));
}

QString withNumber(const Catalogue &catalogue, const char *key, int number)
{
    return text(catalogue, key).replace(QLatin1String("%1"), QString::number(number));
}

bool isCardFile(const QString &file)
{
    return file == QLatin1String(".sza") || file == QLatin1String(".anm") ||
           file == QLatin1String(".pan");
}
} // namespace

QString HistoryLines::time(const QDateTime &when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString HistoryLines::subject(const HistoryEntry &entry, const Catalogue &catalogue)
{
    if (entry.file == QLatin1String(".sza"))
        return text(catalogue, "Personal");
    if (entry.file == QLatin1String(".anm"))
        return text(catalogue, "Anamnesis");
    if (entry.file == QLatin1String(".pan"))
        return text(catalogue, "Complaints");
    if (entry.sheet > 0)
        return withNumber(catalogue, "SheetNotes", entry.sheet);
    if (entry.file == QLatin1String(".kl"))
        return text(catalogue, "Sheets");
    return QString();
}

QString HistoryLines::what(const HistoryEntry &entry, const Catalogue &catalogue)
{
    const QString &action = entry.action;
    if (action == QLatin1String("card-created"))
        return text(catalogue, "Created");
    if (action == QLatin1String("personal") || action == QLatin1String("anamnesis") ||
        action == QLatin1String("complaints") || action == QLatin1String("sheet-notes"))
        return subject(entry, catalogue);
    if (action == QLatin1String("sheet-added"))
        return withNumber(catalogue, "SheetAdded", entry.sheet);
    if (action == QLatin1String("sheet-deleted"))
        return withNumber(catalogue, "SheetDeleted", entry.sheet);
    if (action == QLatin1String("sheet-brought-back"))
        return withNumber(catalogue, "SheetBroughtBack", entry.sheet);
    if (action == QLatin1String("card-deleted")) {
        // One line per file whose version was kept.
        const QString file = subject(entry, catalogue);
        const QString deleted = text(catalogue, "CardDeleted");
        return file.isEmpty() ? deleted : deleted + QStringLiteral(": ") + file;
    }
    if (action == QLatin1String("card-archived"))
        return text(catalogue, "CardArchived");
    if (action == QLatin1String("card-activated"))
        return text(catalogue, "CardActivated");
    if (action == QLatin1String("put-back"))
        return text(catalogue, "PutBack").replace(QLatin1String("%1"), subject(entry, catalogue));
    if (action == QLatin1String("card-brought-back"))
        return entry.note.isEmpty() ? text(catalogue, "CardBroughtBack")
                                    : text(catalogue, "CardBroughtBackFrom")
                                          .replace(QLatin1String("%1"), entry.note);
    if (action == QLatin1String("history-pruned"))
        return text(catalogue, "Pruned").replace(QLatin1String("%1"), entry.note);
    // A change a later version of the program logs: its code word rather than nothing.
    return action;
}

HistoryLines::PutBack HistoryLines::putBack(const HistoryEntry &entry)
{
    if (entry.version.isEmpty())
        return PutBack::None;
    if (entry.action == QLatin1String("sheet-deleted"))
        return PutBack::Sheet;
    const bool sheetNotes = entry.file == QLatin1String(".kl") && entry.sheet > 0;
    const bool replaced = entry.action != QLatin1String("card-deleted") &&
                          entry.action != QLatin1String("history-pruned");
    return replaced && (isCardFile(entry.file) || sheetNotes) ? PutBack::Version : PutBack::None;
}

QList<HistoryLines::Line> HistoryLines::lines(const QList<HistoryEntry> &entries,
                                              const Catalogue &catalogue)
{
    QList<Line> result;
    result.reserve(entries.size());
    for (int i = entries.size() - 1; i >= 0; --i) {
        const HistoryEntry &entry = entries[i];
        result.append({time(entry.when), entry.host, entry.user, what(entry, catalogue), i});
    }
    return result;
}
