// SPDX-License-Identifier: GPL-3.0-or-later
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
    {"Main", "Initializing", "Initializing..."},
    {"Main", "CreateForms", "Create MDI Child forms"},
    {"Main", "InitDone", "End of initialization"},
    {"Main", "Language", "hu"},
    // [Caption]
    {"Caption", "StartTip", "Mérés indítása az 1. ponttól (F5)"},
    {"Caption", "SaveTip", "A mérés mentése kezelőlapként (Ctrl+S)"},
    {"Caption", "PrevTip", "Előző pont (PgUp)"},
    {"Caption", "NextTip", "Következő pont (PgDown)"},
    // [Karton]
    {"Karton", "Report", "Jelen&tés"},
    {"Karton", "Reload", "Újra&töltés"},
    {"Karton", "Overwrite", "&Felülírás"},
    {"Karton", "Cancel", "&Mégse"},
    {"Karton", "bUjbeteg", "Ú&j beteg"},
    {"Karton", "bKeres", "&Keresés"},
    {"Karton", "bSave", "&Mentés"},
    {"Karton", "bBezar", "&Bezárás"},
    {"Karton", "bTorol", "Törlés"},
    {"Karton", "bArc", "&Archívum"},
    {"Karton", "tabSzemelyi", "Személyi adatok"},
    {"Karton", "tabAnm", "Anamnaesis"},
    {"Karton", "tabPan", "Panaszok"},
    {"Karton", "tabKezelolapok", "Kezelőlapok"},
    {"Karton", "eDatum", "Felvétel dátuma"},
    {"Karton", "eID", "Beteg azonosító"},
    {"Karton", "eNev", "Név"},
    {"Karton", "eNeme", "Neme"},
    {"Karton", "eLanyNev", "Leánykori név"},
    {"Karton", "eSzulDatum", "Születési dátum"},
    {"Karton", "eAnyja", "Anyja neve"},
    {"Karton", "lblLakcim", "Lakcím"},
    {"Karton", "eHelyseg", "Helység"},
    {"Karton", "eIrsz", "Irányítószám"},
    {"Karton", "eCim", "Utca, hsz."},
    {"Karton", "eTel", "Telefonszám"},
    {"Karton", "eTMag", "Testmagasság"},
    {"Karton", "eTMagUnit", "cm"},
    {"Karton", "eFogl", "Foglalkozás"},
    {"Karton", "eSuly", "Testsúly"},
    {"Karton", "eSulyUnit", "kg"},
    {"Karton", "eTAJ", "TAJ szám"},
    {"Karton", "eTTIdx", "Testtömeg-index"},
    {"Karton", "eTTIdxUnit", "kg/m2"},
    {"Karton", "eDiagn", "Diagnózis"},
    {"Karton", "eBNO", "BNO"},
    {"Karton", "eIdopont", "Időpont"},
    {"Karton", "eHelyszin", "Helyszín"},
    {"Karton", "mStatusz", "Státusz"},
    {"Karton", "eEgyeb", "Egyéb"},
    {"Karton", "bDeleteKL", "Tö&rlés"},
    {"Karton", "bLoadKL", "Betö&ltés"},
    {"Karton", "bCompare", "Össze&hasonlítás"},
    {"Karton", "bHistory", "Elő&zmények"},
    {"Karton", "bExport", "E&xportálás…"},
    // [Find]
    {"Find", "eFind", "Keresés"},
    {"Find", "bOK", "OK"},
    {"Find", "bCancel", "Mégse"},
    {"Find", "cbHideNames", "Nevek elrejtése"},
    {"Find", "NoMatch", "Nincs ilyen nevű karton"},
    // [Arc]
    // [Meres]
    // [Msg]
    {"Msg", "NoCp1250",
     "Ezek a karakterek nem tárolhatók, ezért semmi sincs elmentve:#%1#Kérem, cserélje le őket."},
    {"Msg", "KLDamaged",
     "A kezelőlap-fájl sérült, a mérés nincs elmentve:#%1#A fájl a(z) %2. kezelőlaptól kezdve nem "
     "olvasható."},
    {"Msg", "KLDamagedOpen",
     "A kezelőlap-fájl sérült:#%1#Az első %2 kezelőlap olvasható, utánuk a fájl sérült. A program "
     "a sérült részt nem írja felül, és új kezelőlapot nem ír a fájlba."},
    {"Msg", "CardInUse",
     "A kartont (%s) egy másik munkaállomás éppen módosítja.#Semmi sem változott, próbálja újra!"},
    {"Msg", "CardChanged",
     "A kartont egy másik munkaállomáson megváltoztatták, mióta itt megnyitották.#"
     "Újratöltés: a karton a mentett állapotot mutatja, az itteni módosítások elvesznek.#"
     "Felülírás: az itteni adatok kerülnek a kartonba."},
    {"Msg", "SheetsChanged",
     "A kezelőlapokat egy másik munkaállomáson megváltoztatták.#A lista frissült; semmi sem "
     "íródott és semmi sem töltődött be."},
    {"Msg", "LockHeld",
     "A kartont (%1) a(z) %2 munkaállomás használja %3 óta.#Ha ott már nem dolgoznak vele "
     "(például a gép leállt), átveheti.#Átveszi a kartont?"},
    {"Msg", "CardArchived",
     "A kartont (%s) egy másik munkaállomáson áthelyezték az archívumba, ezért semmi sem "
     "íródott.#A képernyőn lévő adatok megmaradtak."},
    {"Msg", "CardGone",
     "A kartont (%s) egy másik munkaállomáson törölték, ezért semmi sem íródott.#A képernyőn "
     "lévő adatok megmaradtak."},
    {"Msg", "ArcIdTaken",
     "Ilyen azonosítójú karton már van a másik mappában, ezért a karton a helyén maradt:"},
    {"Msg", "ArcUnfinished",
     "A kartont egy másik munkaállomás éppen most hozza létre, ezért a helyén maradt:"},
    {"Msg", "ArcNotFile",
     "A karton %s fájlja nem közönséges fájl, ezért a karton a helyén maradt:"},
    {"Msg", "ArcInUse", "A kartont egy másik munkaállomás használja, nem lett áthelyezve:"},
    {"Msg", "CardSplit",
     "A karton %s fájlja az adatbázis- és az archívummappában is megvan, eltérő tartalommal. A "
     "program egyiket sem írja felül, és semmit sem írt:"},
    {"Msg", "AskSaveCard", "A karton nincs elmentve. Elmentsem?"},
    {"Msg", "AskSaveMeas", "A mérés nincs elmentve kezelőlapként. Elmentsem?"},
    {"Msg", "Birthday", "Bolgod születésnapot!!!"},
    {"Msg", "KLFileErr", "File megnyitási hiba! (%s)"},
    {"Msg", "SaveErrKL", "A kezelőlapot nem lehet elmenteni!"},
    {"Msg", "OpenErrKL", "A kezelőlapot nem lehet megnyitni!"},
    {"Msg", "AskDelKL", "Biztosan törölni akarja ezt a kezelőlapot?"},
    {"Msg", "DelErrKL", "Sikertelen törlés!"},
    {"Msg", "NoCard", "Nincs karton!"},
    {"Msg", "SettingsWriteErr", "Unable to write to %s"},
    {"Msg", "CopyOpenErr", "Cannot open file %s"},
    {"Msg", "CopyCreateErr", "Cannot create file %s"},
    {"Msg", "FileDamaged",
     "A fájl sérült vagy nem olvasható:#%s#A program nem olvasta be, és nem is írja felül."},
    {"Msg", "NewerVersion",
     "Ezzel az adatbázis mappával egy újabb Tavimer (%1) is dolgozik; ez a munkaállomás a(z) %2 "
     "verziót futtatja.#A kartonok formátuma ugyanaz, de érdemes ezt a munkaállomást is "
     "frissíteni."},
    {"Msg", "Calibrate", "Kalibrálja a készüléket 200uA-re, majd nyomja meg az OK gombot!"},
    {"Msg", "AskStoredAgain",
     "Ezek a mérési értékek már el vannak mentve %1 kezelőlapjaként (%2).#Elmentsem őket még "
     "egyszer, új kezelőlapként?"},
    {"Msg", "AskStoredOther",
     "Ezek a mérési értékek %1 kezelőlapjáról valók (%2).#A megnyitott karton: %3.#Elmentsem őket "
     "erre a kartonra, új kezelőlapként?"},
    {"Msg", "AskMeasuredOther",
     "Ez a mérés %1 kartonjának megnyitásakor indult (%2).#A megnyitott karton: %3.#Elmentsem a "
     "mérést erre a kartonra?"},
    // [Print]
    {"Print", "PrintFailed", "A nyomtatás nem sikerült:#%s"},
    {"Print", "Taken", "Mérés: %1"},
    {"Print", "Unsaved", "Mentetlen mérés: %1"},
    {"Print", "Printed", "Nyomtatva: %1"},
    {"Print", "NoReadings", "A mérés táblázatában nincs mért érték."},
    {"Print", "Born", "szül. %1"},
    {"Print", "NoCardYet", "mentetlen mérés, még nincs kartonon"},
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
    {"Report", "NoReadings", "A kezelőlapon nincs mért érték."},
    // [Pictures]
    {"Pictures", "Caption1",
     "Az energia napi keringése az egymást követő Yin és Yang meridiánokban"},
    {"Pictures", "Caption2", "Az energia napi keringési ciklusa az egyes meridiánokban"},
    {"Pictures", "Metal", "fém"},
    {"Pictures", "Earth", "föld"},
    {"Pictures", "Fire", "tűz"},
    {"Pictures", "Water", "víz"},
    {"Pictures", "Wood", "fa"},
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
    {"Compare", "NoReadings", "nincs mért érték"},
    // [History]
    {"History", "Title", "Előzmények"},
    {"History", "Card", "Karton: %1"},
    {"History", "ViewOnly", "törölt karton, csak megtekintés"},
    {"History", "When", "Időpont"},
    {"History", "Host", "Munkaállomás"},
    {"History", "User", "Felhasználó"},
    {"History", "What", "Változás"},
    {"History", "Created", "Új karton"},
    {"History", "Personal", "Személyi adatok"},
    {"History", "Anamnesis", "Anamnaesis"},
    {"History", "Complaints", "Panaszok"},
    {"History", "Sheets", "Kezelőlapok"},
    {"History", "SheetAdded", "%1. kezelőlap: új"},
    {"History", "SheetNotes", "%1. kezelőlap: jegyzetek"},
    {"History", "SheetDeleted", "%1. kezelőlap törölve"},
    {"History", "SheetBroughtBack", "%1. kezelőlap visszahozva"},
    {"History", "CardDeleted", "Karton törölve"},
    {"History", "CardArchived", "Karton archiválva"},
    {"History", "CardActivated", "Karton visszavéve az archívumból"},
    {"History", "PutBack", "Visszaállítva: %1"},
    {"History", "CardBroughtBack", "Karton visszahozva"},
    {"History", "CardBroughtBackFrom", "Karton visszahozva, korábbi azonosítója %1"},
    {"History", "Pruned", "Régebbi változatok törölve (%1 előttiek)"},
    {"History", "Before", "A változás előtti állapot"},
    {"History", "NoVersion", "Ez a változás nem írt felül semmit, nincs korábbi változata."},
    {"History", "NoHistory", "Ennek a kartonnak még nincsenek előzményei."},
    {"History", "BtnPutBack", "&Visszaállítás"},
    {"History", "BtnBringBack", "Kezelőlap &visszahozása"},
    {"History", "BtnClose", "&Bezárás"},
    {"History", "AskPutBack",
     "Visszaállítja ezt a változatot (%1)?#A mostani állapot is megmarad az előzmények között."},
    {"History", "AskBringBack", "Visszahozza a törölt %1. kezelőlapot?"},
    {"History", "Changed",
     "A karton közben egy másik munkaállomáson megváltozott, ezért semmit sem állítottam vissza.#A "
     "karton és az előzmények újra betöltődtek; válassza ki újra a változatot."},
    {"History", "PutBackErr", "A változatot nem sikerült visszaállítani."},
    {"History", "ReadErr", "Az előzmények nem olvashatók: %s"},
    {"History", "VersionErr", "Ez a változat nem olvasható: %s"},
    {"History", "BtnDeleted", "Törölt kartonok..."},
    {"History", "DeletedTitle", "Törölt kartonok"},
    {"History", "Name", "Név"},
    {"History", "Birth", "Születési dátum"},
    {"History", "Deleted", "Törölve"},
    {"History", "Id", "Azonosító"},
    {"History", "BtnView", "&Előzmények"},
    {"History", "BtnBringBackCard", "&Visszahozás"},
    {"History", "NoDeleted", "Nincs törölt karton."},
    {"History", "AskBringBackCard", "Visszahozza a törölt kartont (%1)?"},
    {"History", "BackSameId", "A karton visszakerült a régi azonosítójával: %1"},
    {"History", "BackNewId",
     "A karton visszakerült, új azonosítója: %1#A régi azonosítót (%2) azóta egy másik karton "
     "kapta meg."},
    {"History", "BringBackErr", "A kartont (%1) nem sikerült visszahozni."},
    // [Export]
    {"Export", "Title", "A beteg adatainak kiadása"},
    {"Export", "Done", "Az adatok kiírva:#%s"},
    {"Export", "NoCard",
     "Nincs ilyen azonosítójú karton sem az adatbázis-, sem az archívummappában: %s"},
    {"Export", "InUse",
     "A kartont (%s) egy másik munkaállomás éppen módosítja.#Semmi sem íródott, próbálja újra!"},
    {"Export", "Unreadable", "A karton egy fájlja nem olvasható, ezért semmi sem íródott:#%s"},
    {"Export", "Exists", "A fájl már létezik, ezért semmi sem íródott:#%s#Válasszon másik nevet!"},
    {"Export", "Unwritable", "Az adatok kiírása nem sikerült:#%s"},
    // [Device]
    // [HusbWife]
    {"HusbWife", "Label1", "Bal kéz - Férj"},
    {"HusbWife", "Label2", "Jobb kéz - Feleség"},
    // [Backup]
    {"Backup", "BtnBackup", "Biztonsági mentés…"},
    {"Backup", "BtnRestore", "Visszaállítás…"},
    {"Backup", "ChooseFolder", "Hová kerüljön a biztonsági mentés?"},
    {"Backup", "ChooseZip", "Melyik mentést állítsam vissza?"},
    {"Backup", "ChooseTarget", "Üres mappa a visszaállításhoz"},
    {"Backup", "Working", "Biztonsági mentés készül…"},
    {"Backup", "Restoring", "Visszaállítás…"},
    {"Backup", "Cancel", "Mégse"},
    {"Backup", "Done", "A biztonsági mentés elkészült és ellenőrizve:#%s"},
    {"Backup", "Verified", "A mentés ép: %s"},
    {"Backup", "Restored", "Visszaállítva ide: %s"},
    {"Backup", "UseRestored",
     "A mentés visszaállítva ide:#%s##Ez legyen mostantól az adatbázis mappa?"},
    {"Backup", "InUse",
     "Ezeket a kartonokat egy másik munkaállomás használta, zárolás nélkül kerültek a mentésbe: "
     "%s"},
    {"Backup", "Cancelled", "Megszakítva; nem maradt hátra semmi."},
    {"Backup", "NoDatabase", "Az adatbázis mappa nem létezik: %s"},
    {"Backup", "Unreadable", "Nem olvasható: %s"},
    {"Backup", "Unwritable", "Nem írható: %s"},
    {"Backup", "NotEmpty",
     "Visszaállítani csak nem létező vagy üres mappába lehet; ez nem üres: %s"},
    {"Backup", "Inside", "A mentés nem kerülhet az adatbázis mappába: %s"},
    {"Backup", "Damaged", "A mentés sérült vagy csonka: %s"},
    {"Backup", "NoManifest", "A zipben nincs MANIFEST.sha256, nem Tavimer mentés: %s"},
    {"Backup", "Checksum", "Az ellenőrzőösszeg nem egyezik: %s"},
    {"Backup", "Unlisted", "Nem szerepel a mentés ellenőrző listájában: %s"},
    {"Backup", "Missing", "Hiányzik a mentésből: %s"},
    {"Backup", "UnsafeName", "A mentésben a mappán kívülre mutató név van: %s"},
    {"Backup", "NotPlain",
     "A mentésben nem közönséges fájl vagy mappa van (például hivatkozás): %s"},
    {"Backup", "TooLarge", "Nagyobb, mint amit egy visszaállítás írhat: %s"},
    {"Backup", "AskOld",
     "Biztosan kilép a programból?##Az utolsó biztonsági mentés %s napja készült.#Igen: mentés, "
     "majd kilépés. Nem: kilépés mentés nélkül."},
    {"Backup", "AskNever",
     "Biztosan kilép a programból?##Még nem készült biztonsági mentés.#Igen: mentés, majd kilépés. "
     "Nem: kilépés mentés nélkül."},
    {"Device", "PortNotInGroup",
     "Nincs jog a soros porthoz (%1): sudo adduser %2 %3, majd jelentkezzen be újra."},
    {"Device", "PortLogInAgain",
     "A(z) %1 soros port a(z) %2 csoporté; a felhasználó már tagja, de ez a bejelentkezés régebbi: "
     "jelentkezzen ki, majd be újra."},
    {"Device", "PortOwnerOnly",
     "A(z) %1 soros portot csak a tulajdonosa (%2) használhatja (jogok: %3): a rendszergazda adjon "
     "hozzá jogot egy csoportnak (udev-szabály)."},
    {"Device", "PortRefused",
     "A rendszer nem engedi megnyitni a(z) %1 soros portot (tulajdonos: %2, csoport: %3, jogok: "
     "%4)."},
    {"Device", "PortBusy", "A soros portot (%s) egy másik program használja."},
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

QList<QPair<QString, QString>> catalogueDefaultKeys()
{
    QList<QPair<QString, QString>> keys;
    for (const DefaultText &entry : kDefaults) {
        if (!entry.section)
            break;
        keys.append({QLatin1String(entry.section), QLatin1String(entry.key)});
    }
    return keys;
}
