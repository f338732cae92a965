#include "diagrams/TfrmPrint.h"

TfrmPrint *frmPrint = nullptr;

TfrmPrint::TfrmPrint(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    frmPrint = this;
    setWindowTitle(QStringLiteral("frmPrint"));
}

void TfrmPrint::PrintDiagram(const QImage &picture, const QString &patientName)
{
    Q_UNUSED(picture);
    Q_UNUSED(patientName);
}
