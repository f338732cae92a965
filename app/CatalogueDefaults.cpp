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
    {"Karton", "Report", "Jelentés"},
    {"Karton", "Reload", "Újratöltés"},
    {"Karton", "Overwrite", "Felülírás"},
    {"Karton", "Cancel", "Mégse"},
    // [Find]
    // [Arc]
    // [Meres]
    // [Msg]
    {"Msg", "NoCp1250",
     "Ezek a karakterek nem tárolhatók, ezért semmi sincs elmentve:#%1#Kérem, cserélje le őket."},
    {"Msg", "KLDamaged",
     "A kezelőlap-fájl sérült, a mérés nincs elmentve:#%1#A fájl a(z) %2. kezelőlaptól kezdve nem "
     "olvasható."},
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
    {"Print", "PrintFailed", "A nyomtatás nem sikerült:#%s"},
    // [Report]
    {"Report", "Title", "Kezelési jelentés"},
    {"Report", "Name", "Név"},
    {"Report", "Id", "Azonosító"},
    {"Report", "Birth", "Születési dátum"},
    {"Report", "Time", "Időpont"},
    {"Report", "Place", "Helyszín"},
    {"Report", "Status", "Státusz"},
    {"Report", "Remark", "Egyéb"},
    {"Report", "Meridian", "Meridián"},
    {"Report", "Side", "Oldal"},
    {"Report", "Reading", "Mért érték"},
    {"Report", "Deviation", "Eltérés"},
    {"Report", "Class", "Osztály"},
    {"Report", "Mean", "Átlag"},
    {"Report", "Reference", "Referenciaérték"},
    {"Report", "Page", "%1. oldal / %2"},
    {"Report", "ClassBlue", "kék"},
    {"Report", "ClassLightBlue", "világoskék"},
    {"Report", "ClassGreen", "zöld"},
    {"Report", "ClassLightRed", "világospiros"},
    {"Report", "ClassRed", "piros"},
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
