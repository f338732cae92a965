#include "diagrams/TfrmPrint.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/PatientReport.h"
#include "diagrams/PrintPage.h"
#include "diagrams/ReportPainter.h"
#include "records/KLRecord.h"

#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>

TfrmPrint *frmPrint = nullptr;

namespace {
constexpr int kHeaderHeight = 120;

QLabel *headerLabel(int top, bool bold, QWidget *parent)
{
    auto *label = new QLabel(parent);
    QFont font(QStringLiteral("Arial Rounded MT Bold"));
    font.setPixelSize(16);
    font.setBold(bold);
    font.setItalic(true);
    label->setFont(font);
    label->move(8, top);
    return label;
}

bool showPrintDialog(QPrinter &printer)
{
    QPrintDialog dlgPrint(&printer);
    return dlgPrint.exec() == QDialog::Accepted;
}

QString targetName(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                         : printer.printerName();
}
} // namespace

TfrmPrint::TfrmPrint(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), choosePrinter(showPrintDialog),
      now(&QDateTime::currentDateTime)
{
    frmPrint = this;
    setWindowTitle(QStringLiteral("frmPrint"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    Label1 = headerLabel(56, true, this);
    Label2 = headerLabel(88, false, this);
    Image = new QLabel(this);
    Image->move(0, kHeaderHeight);
}

void TfrmPrint::Compose(QSize contents, const QString &patientName)
{
    Label1->setText(patientName);
    Label1->adjustSize();
    Label2->setText(now().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    Label2->adjustSize();
    Image->resize(contents);
    resize(contents.width(), kHeaderHeight + contents.height());
}

bool TfrmPrint::choose(QPrinter &printer)
{
    if (m_choice.made) {
        if (m_choice.fileName.isEmpty())
            printer.setPrinterName(m_choice.printerName);
        else
            printer.setOutputFileName(m_choice.fileName);
        printer.setPageOrientation(m_choice.orientation);
        printer.setCopyCount(m_choice.copies);
    }
    if (!choosePrinter(printer))
        return false;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    m_choice = {true, printer.printerName(), toFile ? printer.outputFileName() : QString(),
                printer.pageLayout().orientation(), printer.copyCount()};
    return true;
}

bool TfrmPrint::printOn(QPrinter &printer, const std::function<void(QPainter &)> &paint)
{
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        paint(painter);
        printed = painter.end() && printer.printerState() != QPrinter::Error;
    }
    if (!printed) {
        const QString message =
            frmMain->CatalogueText(QStringLiteral("Print"), QStringLiteral("PrintFailed"));
        Dialogs::error(frmMain, QString(message).replace(QLatin1String("%s"), targetName(printer)));
    }
    return printed;
}

void TfrmPrint::PrintDiagram(QWidget *window, const QString &patientName)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choose(printer))
        return;
    Compose(window->size(), patientName);
    // Widgets painted straight into a printer come out as one bitmap; recorded first, they
    // reach it as lines and text. Without the window backgrounds, the page stays white.
    QPicture contents;
    {
        QPainter recorder(&contents);
        render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
        window->render(&recorder, QPoint(0, kHeaderHeight), QRegion(window->rect()),
                       QWidget::DrawChildren);
    }
    // Recorded text is scaled by the printer's resolution over the recording's; at the same
    // resolution it keeps its size. The page is lines and text either way.
    printer.setResolution(contents.logicalDpiY());
    printOn(printer, [&](QPainter &p) {
        const QSize page = PrintPage::fitted(size(), QSize(printer.width(), printer.height()));
        if (page.isEmpty())
            return;
        const qreal scale = static_cast<qreal>(page.width()) / width();
        p.scale(scale, scale);
        // Pictures are line art; the recording does not carry this hint.
        p.setRenderHint(QPainter::LosslessImageRendering);
        p.drawPicture(0, 0, contents);
    });
}

void TfrmPrint::PrintReport(const QString &name, const QString &id, const QString &birthDate,
                            const KLRecord &sheet)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choose(printer))
        return;
    const Catalogue &catalogue = *frmMain->catalogue();
    const PatientReport report = PatientReport::build({name, id, birthDate}, sheet, catalogue);
    ReportPainter pages(report, catalogue, QImage(QStringLiteral(":/assets/circ1.bmp")),
                        QImage(QStringLiteral(":/assets/circ2.bmp")), {Dialogs::title(), now()});
    printOn(printer, [&](QPainter &p) { pages.paint(p, printer); });
}
