#pragma once

#include <QImage>
#include <QWidget>

// Composes the printed page: the patient's name and the date above a window's picture.
class TfrmPrint : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget *parent = nullptr);

    void PrintDiagram(const QImage &picture, const QString &patientName);
};

extern TfrmPrint *frmPrint;
