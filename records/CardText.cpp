// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardText.h"

QString CardText::bodyMassIndex(const QString &heightCm, const QString &weightKg)
{
    bool heightOk = false;
    bool weightOk = false;
    const int height = heightCm.toInt(&heightOk, 10);
    const int weight = weightKg.toInt(&weightOk, 10);
    if (!heightOk || !weightOk || height == 0)
        return QString();
    const double metres = height / 100.0;
    return QString::asprintf("%6.2f", weight / (metres * metres));
}

QString CardText::captionWithPatient(const QString &title, const QString &name)
{
    QString caption = title;
    const int cut = caption.indexOf(QLatin1String(" -"));
    if (cut >= 0)
        caption.truncate(cut);
    if (!name.isEmpty())
        caption += QLatin1String(" - ") + name;
    return caption;
}
