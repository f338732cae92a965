// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/ReadingsOwner.h"

#include "app/Catalogue.h"
#include "records/RecordDates.h"

ReadingsOwner::Decision ReadingsOwner::decide(const GridOrigin &origin, const QString &cardId)
{
    if (origin.saved)
        return origin.patientId == cardId ? Decision::AskStoredAgain : Decision::AskStoredOther;
    if (!origin.patientId.isEmpty() && origin.patientId != cardId)
        return Decision::AskMeasuredOther;
    return Decision::Save;
}

QString ReadingsOwner::question(Decision decision, const GridOrigin &origin, const Patient &card,
                                bool namesHidden, const Catalogue &catalogue)
{
    QString text;
    switch (decision) {
    case Decision::Save:
        return QString();
    case Decision::AskStoredAgain:
        text = catalogue.text("Msg", "AskStoredAgain");
        break;
    case Decision::AskStoredOther:
        text = catalogue.text("Msg", "AskStoredOther");
        break;
    case Decision::AskMeasuredOther:
        text = catalogue.text("Msg", "AskMeasuredOther");
        break;
    }
    return text.replace(QLatin1String("%1"), label(patientOf(origin), namesHidden, catalogue))
        .replace(QLatin1String("%2"), origin.taken)
        .replace(QLatin1String("%3"), label(card, namesHidden, catalogue));
}

QString ReadingsOwner::sheetTime(const GridOrigin &origin, const QDateTime &now)
{
    return origin.saved && !origin.taken.isEmpty() ? origin.taken : RecordDates::sheetTime(now);
}

QString ReadingsOwner::label(const Patient &patient, bool namesHidden, const Catalogue &catalogue)
{
    if (patient.id.isEmpty())
        return patient.name;
    if (namesHidden)
        return patient.id;
    QString details = patient.id;
    if (!patient.birth.trimmed().isEmpty())
        details += QStringLiteral(", ") +
                   catalogue.text("Print", "Born").replace(QLatin1String("%1"), patient.birth);
    return patient.name.isEmpty()
               ? details
               : patient.name + QStringLiteral(" (") + details + QLatin1Char(')');
}

ReadingsOwner::Patient ReadingsOwner::patientOf(const GridOrigin &origin)
{
    return {origin.patientId, origin.patientName, origin.patientBirth};
}

QString ReadingsOwner::owner(const GridOrigin &origin, bool namesHidden, const Catalogue &catalogue)
{
    if (origin.isEmpty())
        return QString();
    return origin.saved ? label(patientOf(origin), namesHidden, catalogue)
                        : catalogue.text("Print", "NoCardYet");
}

QString ReadingsOwner::caption(const QString &title, const GridOrigin &origin, bool namesHidden,
                               const Catalogue &catalogue)
{
    const QString text = owner(origin, namesHidden, catalogue);
    return text.isEmpty() ? title : title + QStringLiteral(" - ") + text;
}
