// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The cards window's side of handing a patient's record out: it asks for the file and says
// how it went; PatientExport reads and writes.
class ExportActions
{
public:
    // True when the record of `id` was written.
    static bool exportPatient(QWidget *parent, const QString &id);
};
