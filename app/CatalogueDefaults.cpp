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
    {"Main", "Language", "hu"},
    // [Karton]
    // [Find]
    // [Arc]
    // [Meres]
    // [Msg]
    // [Print]
    // [Report]
    // [Compare]
    // [Device]
    {"Device", "PortNoAccess",
     "Nincs jog a soros porthoz: sudo adduser $USER dialout, majd jelentkezzen be újra."},
    {"Device", "PortBusy", "A soros portot egy másik program használja."},
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
