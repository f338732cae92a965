#include "diagrams/TfrmPrint.h"

#include "diagrams/PrintPage.h"

#include <QLabel>
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

void TfrmPrint::Compose(const QImage &picture, const QString &patientName)
{
    Label1->setText(patientName);
    Label1->adjustSize();
    Label2->setText(now().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    Label2->adjustSize();
    Image->setPixmap(QPixmap::fromImage(picture));
    Image->resize(picture.size());
    resize(picture.width(), kHeaderHeight + picture.height());
}

void TfrmPrint::PrintDiagram(const QImage &picture, const QString &patientName)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer))
        return;
    Compose(picture, patientName);
    PrintPage::print(printer, grab().toImage());
}
