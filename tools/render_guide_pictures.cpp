// SPDX-License-Identifier: GPL-3.0-or-later
// Renders one picture of the guides from the running program, with a sample card of its own:
//   render_guide_pictures <program path> <picture> <output file>
// <picture> is card (writes the sample card into the database folder of the settings),
// main-window (a run on the simulated device that the settings name), compare, report-page or
// cards-english. tools/render_guide_pictures.sh prepares the folders and runs every picture.
#include "app/Application.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmPrint.h"
#include "measure/TfrmMeres.h"
#include "records/CardFile.h"
#include "records/KLRecord.h"
#include "records/SheetTabBar.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <functional>

namespace {

const QString kId = QStringLiteral("BXLH0007");

// Left before right for each meridian; the last reading of the first sheet is missing.
const QList<QList<int>> kSheets = {{80, 90, 70, 72, 60, 64, 75, 70, 90, 150, 100, 98,
                                    50, 55, 45, 50, 65, 60, 70, 80, 55, 52,  60,  -1},
                                   {78, 84, 72, 75, 66, 68, 74, 72, 85, 110, 92, 90,
                                    62, 64, 58, 60, 70, 66, 72, 76, 64, 62,  66, 70},
                                   {76, 80, 74, 76, 70, 70, 75, 73, 82, 96, 88, 86,
                                    68, 70, 64, 66, 72, 70, 74, 75, 68, 66, 70, 72}};

// Waits for `done` while the program works, at most `ms`.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return done();
}

void settle(int ms)
{
    waitFor([] { return false; }, ms);
}

bool writeCard(const QString &db)
{
    QStringList personal = {QStringLiteral("Minta Anna"),
                            QStringLiteral("1970.05.17."),
                            QStringLiteral("nő"),
                            QString(),
                            QStringLiteral("Kovács Éva"),
                            QStringLiteral("Szeged"),
                            QStringLiteral("6720"),
                            QStringLiteral("Fő utca 1."),
                            QString(),
                            QStringLiteral("tanár"),
                            QString(),
                            QStringLiteral("168"),
                            QStringLiteral("61"),
                            QStringLiteral("Fáradtság"),
                            QString(),
                            kId,
                            QStringLiteral("2026.11.03")};
    QFile sheets(db + kId + QStringLiteral(".kl"));
    if (!CardFile::writePersonal(db + kId + QStringLiteral(".sza"), personal) ||
        !sheets.open(QIODevice::WriteOnly))
        return false;
    const QStringList times = {QStringLiteral("2026.11.03 09:05:00"),
                               QStringLiteral("2026.11.17 09:10:00"),
                               QStringLiteral("2026.12.01 09:00:00")};
    for (int n = 0; n < kSheets.size(); ++n) {
        KLRecord sheet;
        sheet.Idopont = times[n];
        sheet.Helyszin = QStringLiteral("Rendelő");
        sheet.Statusz = QStringLiteral("Fáradtság, alvászavar");
        sheet.Egyeb = QStringLiteral("Kontroll két hét múlva");
        for (int i = 0; i < KLRecord::kReadingCount; ++i)
            sheet.Readings[KLRecord::readingIndex(i % 2 + 1, i / 2 + 1)] = kSheets[n][i];
        sheets.write(sheet.bytes());
    }
    return sheets.flush();
}

// Answers the calibration prompt with OK, and picks the sample card in the search dialog.
void answerPrompts(QTimer &timer)
{
    QObject::connect(&timer, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
        if (modal == frmFind && frmFind->List->count() > 0) {
            frmFind->List->setCurrentRow(0);
            frmFind->bOK->click();
        }
    });
    timer.start(50);
}

int storedReadings()
{
    int stored = 0;
    for (int col = 1; col <= 2; ++col)
        for (int row = 1; row <= 12; ++row)
            stored += !frmMeres->Cell(col, row).isEmpty();
    return stored;
}

bool render(const QString &picture, const QString &output)
{
    QTimer prompts;
    answerPrompts(prompts);
    if (picture == QLatin1String("main-window")) {
        frmMain->bringToFront(frmMeres);
        frmMeres->bStart->click();
        // Six points stored and the probe still on the sixth: the prompt to lift it.
        if (!waitFor(
                [] { return storedReadings() >= 6 && frmMeres->stValue->text().toInt() > 200; },
                180000))
            return false;
        settle(300);
        return frmMain->grab().save(output);
    }
    frmKarton->bKeresClick();
    frmKarton->Karton->setCurrentIndex(TfrmKarton::kSheetPage);
    frmKarton->LapokTabs->setCurrentIndex(1);
    if (picture == QLatin1String("compare")) {
        frmKarton->bCompareClick();
        settle(1500);
        return frmMain->grab().save(output);
    }
    if (picture == QLatin1String("report-page")) {
        frmKarton->LapokTabs->setCurrentIndex(0);
        frmPrint->choosePrinter = [output](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(output);
            return true;
        };
        frmKarton->bReportClick();
        return QFile::exists(output);
    }
    frmKarton->Karton->setCurrentIndex(0);
    settle(1000);
    return frmMain->grab().save(output);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString picture = QString::fromLocal8Bit(argv[2]);
    const QString output = QString::fromLocal8Bit(argv[3]);
    if (picture == QLatin1String("card"))
        return writeCard(output) ? 0 : 1;
    FontSubstitutes::install();
    Application::createWindows(QString::fromLocal8Bit(argv[1]));
    frmMain->show();
    if (!waitFor([] { return frmMain->isReady(); }, 30000))
        return 1;
    settle(500);
    const bool made = render(picture, output);
    frmMain->EndWithoutQuestions();
    Application::destroyWindows();
    return made ? 0 : 1;
}
