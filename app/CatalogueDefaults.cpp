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
    {"Karton", "Reload", "Újratöltés"},
    {"Karton", "Overwrite", "Felülírás"},
    {"Karton", "Cancel", "Mégse"},
    // [Find]
    // [Arc]
    // [Meres]
    // [Msg]
    {"Msg", "CardInUse",
     "A kartont (%s) egy másik munkaállomás éppen módosítja.#Semmi sem változott, próbálja újra!"},
    {"Msg", "CardChanged",
     "A kartont egy másik munkaállomáson megváltoztatták, mióta itt megnyitották.#"
     "Újratöltés: a karton a mentett állapotot mutatja, az itteni módosítások elvesznek.#"
     "Felülírás: az itteni adatok kerülnek a kartonba."},
    {"Msg", "SheetsChanged",
     "A kezelőlapokat egy másik munkaállomáson megváltoztatták.#A lista frissült, semmi sem "
     "törlődött."},
    {"Msg", "ArcInUse", "A kartont egy másik munkaállomás használja, nem lett áthelyezve:"},
    // [Print]
    // [Report]
    // [Compare]
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
