#include "app/FontSubstitutes.h"
#include "diagrams/PrintPage.h"
#include "diagrams/TfrmPrint.h"

#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestPrint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::function<bool(QPrinter &)> m_printDialog;

    static QImage picture(QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    static int pageCount(const QString &pdf)
    {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QString text = QString::fromLatin1(file.readAll());
        return static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
    }

private slots:
    void initTestCase()
    {
        FontSubstitutes::install();
        new TfrmPrint();
        m_printDialog = frmPrint->choosePrinter;
        frmPrint->now = [] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 59)); };
    }

    void cleanupTestCase() { delete frmPrint; }

    void pagePutsNameAndDateAboveThePicture()
    {
        frmPrint->Compose(picture(QSize(300, 200), Qt::red), "Kiss Anna");
        QCOMPARE(frmPrint->size(), QSize(300, 320));
        QCOMPARE(frmPrint->Label1->text(), QString("Kiss Anna"));
        QCOMPARE(frmPrint->Label1->pos(), QPoint(8, 56));
        QVERIFY(frmPrint->Label1->font().bold() && frmPrint->Label1->font().italic());
        QCOMPARE(frmPrint->Label1->font().pixelSize(), 16);
        QCOMPARE(frmPrint->Label2->text(), QString("2026-03-07 09:05"));
        QCOMPARE(frmPrint->Label2->pos(), QPoint(8, 88));
        QVERIFY(!frmPrint->Label2->font().bold() && frmPrint->Label2->font().italic());
        QCOMPARE(frmPrint->Image->geometry(), QRect(0, 120, 300, 200));

        const QImage page = frmPrint->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.size(), QSize(300, 320));
        QCOMPARE(page.pixel(150, 10), qRgb(255, 255, 255));
        QCOMPARE(page.pixel(0, 120), qRgb(255, 0, 0));
        QCOMPARE(page.pixel(299, 319), qRgb(255, 0, 0));
        bool inked = false;
        for (int x = 8; x < 60 && !inked; ++x) {
            for (int y = 56; y < 76 && !inked; ++y)
                inked = qGray(page.pixel(x, y)) < 128;
        }
        QVERIFY(inked);
    }

    void emptyNameLeavesTheDateAndALongNameIsCut()
    {
        frmPrint->Compose(picture(QSize(100, 50), Qt::blue), QString());
        QCOMPARE(frmPrint->Label1->text(), QString());
        QCOMPARE(frmPrint->Label2->text(), QString("2026-03-07 09:05"));
        frmPrint->Compose(picture(QSize(100, 50), Qt::blue), QString(60, QChar('W')));
        QCOMPARE(frmPrint->width(), 100);
        QVERIFY(frmPrint->Label1->width() > 100);
    }

    void pageIsScaledByHeightUnlessThatIsTooWide()
    {
        // A wide picture (picture diagram 1 under its header) is limited by the page width.
        QCOMPARE(PrintPage::fitted(QSize(643, 320), QSize(4760, 6779)), QSize(4760, 2368));
        // A tall one by the page height.
        QCOMPARE(PrintPage::fitted(QSize(300, 900), QSize(1000, 1400)), QSize(466, 1400));
        QCOMPARE(PrintPage::fitted(QSize(1000, 1400), QSize(1000, 1400)), QSize(1000, 1400));
        QCOMPARE(PrintPage::fitted(QSize(0, 120), QSize(1000, 1400)), QSize());
    }

    void printingToAPdfFileGivesOnePage()
    {
        const QString pdf = m_dir.filePath("page.pdf");
        frmPrint->choosePrinter = [pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        frmPrint->PrintDiagram(picture(QSize(643, 200), Qt::green), "Nagy Béla");
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(frmPrint->Label1->text(), QString("Nagy Béla"));
    }

    void cancelledDialogPrintsAndChangesNothing()
    {
        frmPrint->Compose(picture(QSize(100, 50), Qt::blue), "Before");
        frmPrint->choosePrinter = m_printDialog;
        bool dialogSeen = false;
        QTimer timer;
        timer.setInterval(20);
        connect(&timer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                dialogSeen = true;
                dialog->reject();
            }
        });
        timer.start();
        frmPrint->PrintDiagram(picture(QSize(200, 80), Qt::red), "After");
        QVERIFY(dialogSeen);
        QCOMPARE(frmPrint->Label1->text(), QString("Before"));
        QCOMPARE(frmPrint->size(), QSize(100, 170));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
