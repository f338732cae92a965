// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CatalogueChoice.h"

#include "app/ProgramFiles.h"
#include "app/SettingsLayers.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QtGlobal>

QString CatalogueChoice::language(const QString &programPath)
{
    return SettingsLayers(ProgramFiles::settingsPath(programPath))
        .readString(QStringLiteral("Main"), QStringLiteral("Language"))
        .trimmed()
        .toLower();
}

QString CatalogueChoice::path(const QString &programPath)
{
    const QString language = CatalogueChoice::language(programPath);
    const QString fallback = ProgramFiles::cataloguePath(programPath);
    if (language.isEmpty())
        return fallback;
    const QString chosen = languageCatalogue(programPath, language);
    // The program carries English itself: better than another language's file.
    if (chosen.isEmpty() && language == QLatin1String("en")) {
        const QString missing = ProgramFiles::withExtension(programPath, QStringLiteral("-en.dat"));
        qWarning("No catalogue %s; showing the program's own English texts",
                 qUtf8Printable(missing));
        return missing;
    }
    if (chosen.isEmpty()) {
        qWarning("No catalogue for the language \"%s\"; reading %s", qUtf8Printable(language),
                 qUtf8Printable(fallback));
        return fallback;
    }
    return chosen;
}

QString CatalogueChoice::languageCatalogue(const QString &programPath, const QString &language)
{
    // A language names a file, never a folder.
    static const QRegularExpression name(QStringLiteral("^[a-z_]{1,16}$"));
    if (!name.match(language).hasMatch())
        return QString();
    const QString extension = QLatin1Char('-') + language + QStringLiteral(".dat");
    for (const QString &candidate : {ProgramFiles::withExtension(programPath, extension),
                                     ProgramFiles::installedDataPath(programPath, extension)}) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}
