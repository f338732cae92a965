// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExportCommand.h"

#include "app/Catalogue.h"
#include "app/CatalogueChoice.h"
#include "app/CommandLine.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SupportLog.h"
#include "records/PatientExport.h"
#include "records/SheetsExport.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// The answer in the program's language, as the window would give it.
int report(const ExportResult &result, const QString &command)
{
    const QString programPath = QCoreApplication::applicationFilePath();
    const Catalogue catalogue(CatalogueChoice::path(programPath),
                              CatalogueChoice::language(programPath));
    const QString message =
        result.message(catalogue.text(QStringLiteral("Export"), result.messageKey()))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    SupportLog::write(QStringLiteral("command %1 %2: %3")
                          .arg(command,
                               result.ok() ? QStringLiteral("done") : QStringLiteral("failed"),
                               message));
    QTextStream stream(result.ok() ? stdout : stderr);
    stream << message << Qt::endl;
    return result.ok() ? 0 : 1;
}

QString databaseFolder()
{
    return Settings::load(ProgramFiles::settingsPath(QCoreApplication::applicationFilePath()))
        .dbPath;
}

} // namespace

void ExportCommand::connect()
{
    CommandLine::setCommand(QStringLiteral("export-patient"), [](const QStringList &values) {
        return report(
            PatientExport::write(databaseFolder(), values.value(0), values.value(1), false),
            QStringLiteral("export-patient"));
    });
    CommandLine::setCommand(QStringLiteral("export-sheets"), [](const QStringList &values) {
        const bool pseudonymous = values.contains(QStringLiteral("--pseudonymous"));
        return report(SheetsExport::write(databaseFolder(), values.value(0), pseudonymous, false),
                      QStringLiteral("export-sheets"));
    });
}
