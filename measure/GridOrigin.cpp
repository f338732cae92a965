// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/GridOrigin.h"

#include "records/RecordDates.h"

GridOrigin GridOrigin::ofSheet(const QString &id, const QString &name, const QString &idopont)
{
    return {id, name, idopont, true};
}

GridOrigin GridOrigin::ofMeasurement(const QDateTime &started, const QString &id,
                                     const QString &name)
{
    return {id, name, RecordDates::sheetTime(started), false};
}
