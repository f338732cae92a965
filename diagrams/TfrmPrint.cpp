// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmPrint.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/BarPainter.h"
#include "diagrams/DiagramLayout.h"
#include "diagrams/PatientReport.h"
#include "diagrams/PictureArt.h"
#include "diagrams/PicturePainter.h"
#include "diagrams/PictureWindow.h"
#include "diagrams/PrintPage.h"
#include "diagrams/ReportPainter.h"
#include "diagrams/TablePainter.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmHusbWife.h"
#include "diagrams/TfrmUSin.h"
#include "measure/ReadingsOwner.h"
#include "measure/TfrmMeres.h"
#include "platform/OwnerOnly.h"
#include "records/KLRecord.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTableWidget>
#include <QtMath>

TfrmPrint *frmPrint = nullptr;

namespace {
constexpr int kHeaderHeight = 120;
// Between the printed comparison table and the charts under it.
constexpr int kGap = 8;
// The header is laid out on a band this wide, which spans the page.
constexpr int kHeaderWidth = 800;
// The header's type, and the smallest it shrinks to before a line wraps.
constexpr int kHeaderPixels = 16;
constexpr int kSmallestHeaderPixels = 9;
constexpr int kDateTop = 88;
// Pictures are drawn this many times their size for a printer: about 300 dots per inch.
constexpr int kPrintScale = 4;
// Where the bar diagram is laid out for a page.
const QRect kBarArea(0, 0, 800, 500);

QString printText(const char *key)
{
    return frmMain->CatalogueText(QStringLiteral("Print"), QString::fromLatin1(key));
}

bool showsGrid(const QWidget *window)
{
    return window &&
           (window == frmMeres || window == frmBar || window == frmCirc || window == frmUSin ||
            window == frmHusbWife || qobject_cast<const PictureWindow *>(window));
}

Evaluation::Cells gridCells()
{
    Evaluation::Cells cells;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s)
            cells[m * Evaluation::kSides + s] = frmMeres ? frmMeres->Cell(s + 1, m + 1) : QString();
    }
    return cells;
}

// The part of a window that holds its diagram; the rest is empty room.
QRect diagramArea(QWidget *window)
{
    QRectF area = window->rect();
    if (window == frmCirc)
        area = DiagramLayout::CircleBox;
    else if (window == frmUSin)
        area = DiagramLayout::USinBox;
    else if (window == frmHusbWife)
        area = DiagramLayout::HusbWifeBox;
    else if (auto *picture = qobject_cast<PictureWindow *>(window))
        area = picture->Image->geometry();
    return area.toAlignedRect() & window->rect();
}

QLabel *headerLabel(int top, bool bold, QWidget *parent)
{
    auto *label = new QLabel(parent);
    QFont font(QStringLiteral("Arial Rounded MT Bold"));
    font.setPixelSize(kHeaderPixels);
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
    Label2 = headerLabel(kDateTop, false, this);
    Image = new QLabel(this);
    Image->move(0, kHeaderHeight);
}

namespace {
// A header line keeps all of its text on the band: smaller type first, then a second line.
void fitOnBand(QLabel *label, const QString &text)
{
    const int room = kHeaderWidth - 2 * label->x();
    QFont font = label->font();
    font.setPixelSize(kHeaderPixels);
    font.setPixelSize(PrintPage::fittingPixelSize(font, text, room, kSmallestHeaderPixels));
    label->setFont(font);
    label->setText(text);
    const bool wraps = QFontMetricsF(font).horizontalAdvance(text) > room;
    label->setWordWrap(wraps);
    label->setMinimumWidth(wraps ? room : 0);
    label->setMaximumWidth(wraps ? room : QWIDGETSIZE_MAX);
    label->adjustSize();
}
} // namespace

void TfrmPrint::Compose(QSize contents, const QString &patientName, const QString &taken)
{
    fitOnBand(Label1, patientName);
    const QString printed = now().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    fitOnBand(Label2, taken.isEmpty()
                          ? printed
                          : taken + QStringLiteral("     ") + printText("Printed").arg(printed));
    Label2->move(Label2->x(), std::max(kDateTop, Label1->y() + Label1->height()));
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
    // A page in a file carries the patient's name and readings.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    QPainter painter;
    bool printed =
        (!toFile || OwnerOnly::prepareFile(printer.outputFileName())) && painter.begin(&printer);
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

namespace {
// Chart items keep pixmaps of themselves, which a recording drops or draws blank; without
// them they are drawn as lines and text like the rest.
class UncachedScenes
{
public:
    explicit UncachedScenes(QWidget *window)
    {
        for (QGraphicsView *view : window->findChildren<QGraphicsView *>()) {
            if (!view->scene())
                continue;
            for (QGraphicsItem *item : view->scene()->items()) {
                m_modes.append({item, item->cacheMode()});
                item->setCacheMode(QGraphicsItem::NoCache);
            }
        }
    }
    ~UncachedScenes()
    {
        for (const auto &[item, mode] : m_modes)
            item->setCacheMode(mode);
    }

private:
    QList<QPair<QGraphicsItem *, QGraphicsItem::CacheMode>> m_modes;
};

// The comparison as it stands, but with the whole table, which on screen may scroll.
QRect recordComparison(QPainter &recorder)
{
    QTableWidget *table = frmCompare->grTabla;
    const QPoint tableAt = table->mapTo(frmCompare, QPoint());
    const UncachedScenes uncached(frmCompare);
    // Each part whole: a clip region around a part does not reach the printer.
    for (QWidget *part :
         {frmCompare->cbElotte->parentWidget(), static_cast<QWidget *>(frmCompare->stSummary)})
        part->render(&recorder, part->mapTo(frmCompare, QPoint()), QRegion(),
                     QWidget::DrawChildren);
    const QSizeF full = TablePainter::paint(recorder, tableAt, *table->model(), table->font());
    // The page is as wide as the table and the choices above it, and the charts under the table
    // as wide as that, so that the page is filled by the table's type rather than by the width
    // of the window on screen.
    const QWidget *last = frmCompare->cbUtana;
    const qreal width = std::max(
        full.width(), qreal(last->mapTo(frmCompare, last->rect().topRight()).x() - tableAt.x()));
    QWidget *charts = qobject_cast<QSplitter *>(table->parentWidget())->widget(1);
    const qreal scale = width / std::max(charts->width(), 1);
    const QPointF chartsAt(tableAt.x(), tableAt.y() + full.height() + kGap);
    recorder.save();
    recorder.translate(chartsAt);
    recorder.scale(scale, scale);
    charts->render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
    recorder.restore();
    return QRect(0, 0, tableAt.x() + qCeil(width), qCeil(chartsAt.y() + charts->height() * scale));
}

} // namespace

struct TfrmPrint::Contents
{
    QPicture picture;
    QRect area;
};

TfrmPrint::Contents TfrmPrint::record(QWidget *window) const
{
    Contents contents;
    QPainter recorder(&contents.picture);
    if (showsGrid(window) && Evaluation::evaluate(gridCells()).presentCount() == 0) {
        // An empty diagram under a name would pass for somebody's result.
        contents.area = QRect(0, 0, kHeaderWidth, kHeaderHeight);
        QFont font = Label1->font();
        font.setItalic(false);
        recorder.setFont(font);
        recorder.drawText(contents.area, Qt::AlignCenter | Qt::TextWordWrap,
                          printText("NoReadings"));
    } else if (window == frmBar) {
        // The chart's own frame and grey background do not belong on paper.
        contents.area = kBarArea;
        BarPainter::paint(recorder, kBarArea, Evaluation::evaluate(gridCells()),
                          PatientReport::locale(*frmMain->catalogue()));
    } else if (auto *picture = qobject_cast<PictureWindow *>(window)) {
        // Drawn again for the printer, not the screen's pixels scaled up.
        contents.area = diagramArea(window);
        frmMain->Evaluate();
        const QImage filled = PicturePainter::filled(
            picture->Drawing(kPrintScale), picture->Seeds(), frmMain->ClassColor, kPrintScale);
        recorder.drawImage(QRectF(picture->Image->geometry()), filled);
    } else if (window == frmCompare) {
        contents.area = recordComparison(recorder);
    } else {
        contents.area = diagramArea(window);
        const UncachedScenes uncached(window);
        // The header names the owner already.
        QWidget *ownerLine = window->findChild<QWidget *>(QStringLiteral("ownerLine"));
        const bool ownerShown = ownerLine && ownerLine->isVisible();
        if (ownerShown)
            ownerLine->hide();
        window->render(&recorder, QPoint(), QRegion(window->rect()), QWidget::DrawChildren);
        if (ownerShown)
            ownerLine->show();
    }
    return contents;
}

void TfrmPrint::PrintDiagram(QWidget *window, const QString &patientName)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choose(printer))
        return;
    if (showsGrid(window) && frmMeres) {
        const GridOrigin &origin = frmMeres->Origin;
        const QString taken = origin.taken.isEmpty()
                                  ? QString()
                                  : printText(origin.saved ? "Taken" : "Unsaved").arg(origin.taken);
        Compose(
            window->size(),
            ReadingsOwner::label(ReadingsOwner::patientOf(origin), false, *frmMain->catalogue()),
            taken);
    } else {
        Compose(window->size(), patientName);
    }
    resize(std::max(width(), kHeaderWidth), height());
    // Widgets painted straight into a printer come out as one bitmap; recorded first, they
    // reach it as lines and text. Without the window backgrounds, the page stays white.
    QPicture header;
    {
        QPainter recorder(&header);
        render(&recorder, QPoint(), QRegion(0, 0, kHeaderWidth, kHeaderHeight),
               QWidget::DrawChildren);
    }
    const Contents contents = record(window);
    // Recorded text is scaled by the printer's resolution over the recording's; at the same
    // resolution it keeps its size. The page is lines and text either way.
    printer.setResolution(contents.picture.logicalDpiY());
    printOn(printer, [&](QPainter &p) {
        const qreal unit = static_cast<qreal>(printer.width()) / kHeaderWidth;
        p.save();
        p.scale(unit, unit);
        p.drawPicture(0, 0, header);
        p.restore();
        const QRectF room(0, kHeaderHeight * unit, printer.width(),
                          printer.height() - kHeaderHeight * unit);
        const QRectF target = PrintPage::centred(contents.area.size(), room);
        if (target.isEmpty())
            return;
        p.translate(target.topLeft());
        p.scale(target.width() / contents.area.width(), target.height() / contents.area.height());
        p.translate(-contents.area.topLeft());
        p.setClipRect(contents.area);
        // Pictures are line art; the recording does not carry this hint.
        p.setRenderHint(QPainter::LosslessImageRendering);
        p.drawPicture(0, 0, contents.picture);
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
    const PictureArt::Texts texts = PictureArt::texts(catalogue);
    ReportPainter pages(report, catalogue, PictureArt::picture1(texts, kPrintScale),
                        PictureArt::picture2(texts, kPrintScale), {Dialogs::title(), now()},
                        kPrintScale);
    printOn(printer, [&](QPainter &p) { pages.paint(p, printer); });
}
