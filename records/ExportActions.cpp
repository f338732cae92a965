// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ExportActions.h"

#include "app/Dialogs.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "records/PatientExport.h"

#include <QDir>
#include <QFileDialog>

bool ExportActions::exportPatient(QWidget *parent, const QString &id)
{
    const QString target = QFileDialog::getSaveFileName(
        parent, frmMain->CatalogueText("Export", "Title"),
        QDir::home().filePath(id + QStringLiteral(".json")), QStringLiteral("JSON (*.json)"));
    if (target.isEmpty())
        return false;
    // The file dialog has asked before an existing file is chosen, so it may be replaced.
    const ExportResult result = PatientExport::write(frmMain->DBPath, id, target, true);
    const QString message =
        result.message(frmMain->CatalogueText(QStringLiteral("Export"), result.messageKey()));
    SupportLog::write(QStringLiteral("export of %1: %2").arg(id, message));
    if (!result.ok()) {
        Dialogs::error(parent, message);
        return false;
    }
    Dialogs::information(parent, message);
    return true;
}
