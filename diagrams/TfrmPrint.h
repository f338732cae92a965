// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QWidget>
#include <functional>

struct KLRecord;
class QLabel;
class QPainter;
class QPrinter;

// Composes the printed page: the patient's name and the date above a window's contents.
// Never shown on screen. Pages are painted into the printer, so lines and text stay sharp.
class TfrmPrint : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget *parent = nullptr);

    // Asks for a printer and prints the window under the header on one page; a cancelled
    // dialog changes nothing. A window that shows the measuring grid is headed by the patient
    // and time of the grid's readings instead of `patientName`.
    void PrintDiagram(QWidget *window, const QString &patientName);
    // The page in this window: header band, then room for the contents. `taken` names the
    // time of the readings shown, before the time of printing.
    void Compose(QSize contents, const QString &patientName, const QString &taken = QString());
    // Asks for a printer and prints the three-page report of one sheet.
    void PrintReport(const QString &name, const QString &id, const QString &birthDate,
                     const KLRecord &sheet);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Image = nullptr;

    // The printer selection dialog (dlgPrint) and the clock, replaceable for tests.
    std::function<bool(QPrinter &)> choosePrinter;
    std::function<QDateTime()> now;

private:
    // The dialog, offering what was chosen last in this run of the program.
    bool choose(QPrinter &printer);
    // The contents of one diagram print, recorded as lines and text, and the part of them
    // that the page shows.
    struct Contents;
    Contents record(QWidget *window) const;
    // Every print ends here: a printer or file that cannot be written is named in a message.
    bool printOn(QPrinter &printer, const std::function<void(QPainter &)> &paint);

    struct Choice
    {
        bool made = false;
        QString printerName;
        QString fileName;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        int copies = 1;
    };
    Choice m_choice;
};

extern TfrmPrint *frmPrint;
