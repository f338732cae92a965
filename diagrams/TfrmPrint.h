#pragma once

#include <QDateTime>
#include <QImage>
#include <QWidget>
#include <functional>

class QLabel;
class QPrinter;

// Composes the printed page: the patient's name and the date above a window's picture.
// Never shown on screen.
class TfrmPrint : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget *parent = nullptr);

    // Asks for a printer and prints one page; a cancelled dialog changes nothing.
    void PrintDiagram(const QImage &picture, const QString &patientName);
    // The page in this window: header band, then the picture; the window takes the page's size.
    void Compose(const QImage &picture, const QString &patientName);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Image = nullptr;

    // The printer selection dialog (dlgPrint) and the clock, replaceable for tests.
    std::function<bool(QPrinter &)> choosePrinter;
    std::function<QDateTime()> now;
};

extern TfrmPrint *frmPrint;
