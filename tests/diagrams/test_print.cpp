// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridStage.h"
#include "PdfTools.h"
#include "WorkedExample.h"
#include "diagrams/PrintPage.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmPrint.h"
#include "platform/OwnerOnly.h"
#include "support/ModalAnswer.h"

#include <QApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TestPrint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::function<bool(QPrinter &)> m_printDialog;

    // A window that is one colour all over.
    static QWidget *plain(QSize size, QColor colour)
    {
        auto *window = new QWidget();
        window->resize(size);
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, colour);
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        return window;
    }

    std::function<bool(QPrinter &)> toPdf(const QString &pdf)
    {
        return [pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
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
        openMainAndGrid(m_dir);
        new TfrmPrint();
        m_printDialog = frmPrint->choosePrinter;
        frmPrint->now = [] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 59)); };
    }

    void cleanupTestCase()
    {
        delete frmPrint;
        delete frmMeres;
        delete frmMain;
    }

    void pagePutsNameAndDateAboveThePicture()
    {
        frmPrint->Compose(QSize(300, 200), "Kiss Anna");
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
        bool inked = false;
        for (int x = 8; x < 60 && !inked; ++x) {
            for (int y = 56; y < 76 && !inked; ++y)
                inked = qGray(page.pixel(x, y)) < 128;
        }
        QVERIFY(inked);
    }

    void emptyNameLeavesTheDate()
    {
        frmPrint->Compose(QSize(100, 50), QString());
        QCOMPARE(frmPrint->Label1->text(), QString());
        QCOMPARE(frmPrint->Label2->text(), QString("2026-03-07 09:05"));
    }

    void longNameShrinksOrWrapsOntoTheBand_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("wraps");
        QTest::newRow("95 characters") << 95 << false;
        QTest::newRow("300 characters") << 300 << true;
    }

    void longNameShrinksOrWrapsOntoTheBand()
    {
        QFETCH(int, length);
        QFETCH(bool, wraps);
        QString name;
        while (name.size() < length)
            name += QString::fromUtf8("Kovács Árvíztűrő ");
        name = name.left(length);
        frmPrint->Compose(QSize(100, 50), name);
        QCOMPARE(frmPrint->Label1->text(), name);
        QCOMPARE(frmPrint->Label1->wordWrap(), wraps);
        const QFontMetrics metrics(frmPrint->Label1->font());
        const QRect needed = metrics.boundingRect(QRect(0, 0, frmPrint->Label1->width(), 10000),
                                                  Qt::TextWordWrap, name);
        QVERIFY(frmPrint->Label1->x() + frmPrint->Label1->width() <= 800 - 8);
        QVERIFY(needed.height() <= frmPrint->Label1->height());
        QVERIFY(frmPrint->Label2->y() >= frmPrint->Label1->y() + frmPrint->Label1->height());
    }

    void pageIsScaledByHeightUnlessThatIsTooWide()
    {
        // A wide picture (picture diagram 1 under its header) is limited by the page width.
        QCOMPARE(PrintPage::fitted(QSize(643, 320), QSize(4760, 6779)), QSize(4760, 2368));
        // A tall one by the page height.
        QCOMPARE(PrintPage::fitted(QSize(300, 900), QSize(1000, 1400)), QSize(466, 1400));
        QCOMPARE(PrintPage::fitted(QSize(1000, 1400), QSize(1000, 1400)), QSize(1000, 1400));
        QCOMPARE(PrintPage::fitted(QSize(0, 120), QSize(1000, 1400)), QSize());
        // A diagram on a page: as large as fits, in the middle of the room under the header.
        QCOMPARE(PrintPage::centred(QSizeF(460, 460), QRectF(0, 120, 800, 1000)),
                 QRectF(0, 220, 800, 800));
        QCOMPARE(PrintPage::centred(QSizeF(643, 200), QRectF(0, 0, 400, 400)),
                 QRectF(QPointF(0, 200 - 200 * 400 / 643.0 / 2), QSizeF(400, 200 * 400 / 643.0)));
    }

    void printingToAPdfFileGivesOnePage()
    {
        const QString pdf = m_dir.filePath("page.pdf");
        frmPrint->choosePrinter = toPdf(pdf);
        std::unique_ptr<QWidget> window(plain(QSize(643, 200), Qt::green));
        const mode_t umask = ::umask(022);
        frmPrint->PrintDiagram(window.get(), "Nagy Béla");
        ::umask(umask);
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(QFile::permissions(pdf), OwnerOnly::kFile | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(frmPrint->Label1->text(), QString("Nagy Béla"));
    }

    void circleDiagramNamesWhoseReadingsItShowsNotTheOpenCard_data()
    {
        QTest::addColumn<bool>("readings");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("sheet") << true
                               << QStringList{"Kiss Anna (BAAA0001, szül. 1970.05.17)",
                                              "Mérés: 2026.01.05 10:00:00",
                                              "2026-03-07 09:05",
                                              "Gb",
                                              "Th",
                                              "St"};
        QTest::newRow("no readings") << false << QStringList{"Kiss Anna", "nincs mért érték"};
    }

    void circleDiagramNamesWhoseReadingsItShowsNotTheOpenCard()
    {
        QFETCH(bool, readings);
        QFETCH(QStringList, expected);
        setGrid(readings ? workedExample() : Evaluation::Cells());
        frmMeres->Origin =
            GridOrigin::ofSheet("BAAA0001", "Kiss Anna", "2026.01.05 10:00:00", "1970.05.17");
        auto circle = std::make_unique<TfrmCirc>();
        circle->resize(800, 500);
        const QString pdf = m_dir.filePath("circle.pdf");
        frmPrint->choosePrinter = toPdf(pdf);
        frmPrint->PrintDiagram(circle.get(), "Nagy Béla");
        const QString text = PdfTools::text(pdf, 1).simplified();
        for (const QString &part : expected)
            QVERIFY2(text.contains(part), qPrintable(part + " in " + text));
        QVERIFY(!text.contains("Nagy Béla"));
        QCOMPARE(PdfTools::images(pdf, 1), 0);
    }

    void printerChoiceIsOfferedAgainAtTheNextPrint()
    {
        const QString pdf = m_dir.filePath("remembered.pdf");
        frmPrint->choosePrinter = [pdf](QPrinter &printer) {
            printer.setOutputFileName(pdf);
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setCopyCount(2);
            return true;
        };
        std::unique_ptr<QWidget> window(plain(QSize(100, 50), Qt::blue));
        frmPrint->PrintDiagram(window.get(), "Első");
        QString offeredFile;
        QPageLayout::Orientation offeredOrientation = QPageLayout::Portrait;
        int offeredCopies = 0;
        frmPrint->choosePrinter = [&](QPrinter &printer) {
            offeredFile = printer.outputFileName();
            offeredOrientation = printer.pageLayout().orientation();
            offeredCopies = printer.copyCount();
            return false;
        };
        frmPrint->PrintDiagram(window.get(), "Második");
        QCOMPARE(offeredFile, pdf);
        QCOMPARE(offeredOrientation, QPageLayout::Landscape);
        QCOMPARE(offeredCopies, 2);
    }

    void printThatCannotBeWrittenNamesTheFile()
    {
        const QString pdf = m_dir.filePath("missing-folder/page.pdf");
        frmPrint->choosePrinter = toPdf(pdf);
        std::unique_ptr<QWidget> window(plain(QSize(100, 50), Qt::blue));
        ModalAnswer answer;
        frmPrint->PrintDiagram(window.get(), "Nagy Béla");
        QCOMPARE(answer.count(), 1);
        QVERIFY2(answer.texts().first().contains(pdf), qPrintable(answer.texts().first()));
    }

    void cancelledDialogPrintsAndChangesNothing()
    {
        frmPrint->Compose(QSize(100, 50), "Before");
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
        std::unique_ptr<QWidget> window(plain(QSize(200, 80), Qt::red));
        frmPrint->PrintDiagram(window.get(), "After");
        QVERIFY(dialogSeen);
        QCOMPARE(frmPrint->Label1->text(), QString("Before"));
        QCOMPARE(frmPrint->size(), QSize(100, 170));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
