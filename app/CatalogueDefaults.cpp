#include "app/CatalogueDefaults.h"

namespace {

struct DefaultText
{
    const char *section;
    const char *key;
    const char *text; // UTF-8
};

// One block per window or subsystem; keep every key in both shipped catalogues as well.
const DefaultText kDefaults[] = {
    // [Main]
    // [Karton]
    // [Find]
    // [Arc]
    // [Meres]
    // [Msg]
    // [Print]
    // [Report]
    // [Compare]
    {"Compare", "Title", "Összehasonlítás"},
    {"Compare", "Before", "Előtte"},
    {"Compare", "After", "Utána"},
    {"Compare", "Balanced", "Kiegyensúlyozott pontok"},
    {"Compare", "Spread", "Szórás"},
    {"Compare", "Meridian", "Meridián"},
    {"Compare", "Side", "Oldal"},
    {"Compare", "ReadingBefore", "Érték előtte"},
    {"Compare", "ReadingAfter", "Érték utána"},
    {"Compare", "DevBefore", "Eltérés előtte"},
    {"Compare", "DevAfter", "Eltérés utána"},
    {"Compare", "Change", "Változás"},
    {"Compare", "ChangeHint",
     "|Eltérés utána| - |Eltérés előtte|: a negatív érték közelebb van az egyensúlyhoz"},
    {"Compare", "Course", "Kiegyensúlyozott pontok kezelőlaponként"},
    {"Compare", "NoSheets", "Nincs összehasonlítható kezelőlap"},
    // [Device]
    {nullptr, nullptr, nullptr},
};

} // namespace

QString catalogueDefault(const QString &section, const QString &key)
{
    for (const DefaultText &entry : kDefaults) {
        if (!entry.section)
            break;
        if (section.compare(QLatin1String(entry.section), Qt::CaseInsensitive) == 0 &&
            key.compare(QLatin1String(entry.key), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(entry.text);
    }
    return QString();
}
