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
    {"Msg", "NoCp1250",
     "Ezek a karakterek nem tárolhatók, ezért semmi sincs elmentve:#%1#Kérem, cserélje le őket."},
    {"Msg", "KLDamaged",
     "A kezelőlap-fájl sérült, a mérés nincs elmentve:#%1#A fájl a(z) %2. kezelőlaptól kezdve nem "
     "olvasható."},
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
