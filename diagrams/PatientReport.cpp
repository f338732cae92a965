// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/PatientReport.h"

#include "app/Catalogue.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/SheetComparison.h"
#include "records/KLRecord.h"

namespace {
const QString kReport = QStringLiteral("Report");

QString meridianName(int m)
{
    const QString code = QString::fromLatin1(Evaluation::MeridianCodes[m]);
    return code.left(1) + code.mid(1).toLower();
}
} // namespace

QString PatientReport::className(quint32 colour, const Catalogue &catalogue)
{
    switch (colour) {
    case Evaluation::kBlue:
        return catalogue.text(kReport, QStringLiteral("ClassBlue"));
    case Evaluation::kLightBlue:
        return catalogue.text(kReport, QStringLiteral("ClassLightBlue"));
    case Evaluation::kGreen:
        return catalogue.text(kReport, QStringLiteral("ClassGreen"));
    case Evaluation::kLightRed:
        return catalogue.text(kReport, QStringLiteral("ClassLightRed"));
    default:
        return catalogue.text(kReport, QStringLiteral("ClassRed"));
    }
}

QLocale PatientReport::locale(const Catalogue &catalogue)
{
    return QLocale(catalogue.text(QStringLiteral("Main"), QStringLiteral("Language")).trimmed());
}

PatientReport PatientReport::build(const Patient &patient, const KLRecord &sheet,
                                   const Catalogue &catalogue)
{
    PatientReport report;
    report.patient = patient;
    report.time = sheet.Idopont;
    report.place = sheet.Helyszin;
    report.status = sheet.Statusz;
    report.remark = sheet.Egyeb;
    const Evaluation::Cells cells = Evaluation::storedCells(sheet.Readings);
    report.result = Evaluation::evaluate(cells);
    report.numbers = locale(catalogue);
    const QString &dash = SheetComparison::kMissing;
    const QString sides[] = {catalogue.text(QStringLiteral("Caption"), QStringLiteral("Left")),
                             catalogue.text(QStringLiteral("Caption"), QStringLiteral("Right"))};
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s) {
            const quint32 colour = report.result.ClassColor[m][s];
            if (!report.result.Present[m][s]) {
                report.rows.append({meridianName(m), sides[s], dash, dash, colour, dash});
                continue;
            }
            report.rows.append({meridianName(m), sides[s], cells[m * Evaluation::kSides + s],
                                ChartFormat::value(report.result.Deviation[m][s], report.numbers),
                                colour, className(colour, catalogue)});
        }
    }
    if (report.result.presentCount() == 0) {
        report.mean = report.reference = dash;
        report.notice = catalogue.text(kReport, QStringLiteral("NoReadings"));
        return report;
    }
    report.mean = report.numbers.toString(report.result.Mean);
    report.reference = ChartFormat::value(report.result.Reference, report.numbers);
    return report;
}
