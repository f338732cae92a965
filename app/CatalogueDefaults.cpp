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
    // [Find]
    // [Arc]
    // [Meres]
    // [Msg]
    {"Msg", "NoCp1250",
     "Ezek a karakterek nem tárolhatók, ezért semmi sincs elmentve:#%1#Kérem, cserélje le őket."},
    {"Msg", "KLDamaged",
     "A kezelőlap-fájl sérült, a mérés nincs elmentve:#%1#A fájl a(z) %2. kezelőlaptól kezdve nem "
     "olvasható."},
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
