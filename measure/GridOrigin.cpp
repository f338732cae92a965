// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/GridOrigin.h"

#include "records/RecordDates.h"

GridOrigin GridOrigin::ofSheet(const QString &id, const QString &name, const QString &idopont,
                               const QString &birth)
{
    return {id, name, birth, idopont, true};
}

GridOrigin GridOrigin::ofMeasurement(const QDateTime &started, const QString &id,
                                     const QString &name, const QString &birth)
{
    return {id, name, birth, RecordDates::sheetTime(started), false};
}
