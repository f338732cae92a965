// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridStage.h"
#include "WorkedExample.h"
#include "app/FontSubstitutes.h"
#include "app/TfrmMain.h"
#include "diagrams/SymbolPainter.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"
#include "diagrams/TfrmHusbWife.h"
#include "diagrams/TfrmUSin.h"
#include "measure/TfrmMeres.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QTemporaryDir>
#include <QtTest>

// The diagram windows as they paint from the measuring window's grid.
class TestDiagramWindows : public QObject
{
    Q_OBJECT

    using E = Evaluation;
    QTemporaryDir m_dir;

    static E::Cells all(const QString &text)
    {
        E::Cells cells;
        cells.fill(text);
        return cells;
    }

    static QImage render(QWidget *window, QSize size)
    {
        window->resize(size);
        return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QRgb rgb(quint32 bgr) { return SymbolPainter::colour(bgr).rgb(); }

    // Samples of upper half, lower half, left lobe and right lobe.
    static void verifySymbol(const QImage &image, int x, int y, int r, quint32 a, quint32 b)
    {
        const QString where = QStringLiteral("symbol at %1,%2").arg(x).arg(y);
        QVERIFY2(image.pixel(x + r / 4, y - r * 3 / 4) == rgb(a), qPrintable(where));
        QVERIFY2(image.pixel(x - r / 4, y + r * 3 / 4) == rgb(b), qPrintable(where));
        QVERIFY2(image.pixel(x - r / 2, y + r / 3) == rgb(a), qPrintable(where));
        QVERIFY2(image.pixel(x + r / 2 + r / 8, y - r / 3) == rgb(b), qPrintable(where));
    }

    static void verifyPairs(const QImage &image,
                            const std::array<DiagramLayout::PairPlace, 6> &pairs)
    {
        for (const auto &pair : pairs) {
            verifySymbol(image, pair.x, pair.y, 60, frmMain->ClassColor[pair.meridianA][0],
                         frmMain->ClassColor[pair.meridianB][0]);
        }
    }

    static void verifySeeds(PictureWindow *window, const QImage &image,
                            const std::array<DiagramLayout::Seed, 12> &seeds)
    {
        const QPoint at = window->Image->pos();
        const QImage drawing = window->Drawing(1);
        // A region without a reading keeps the drawing's own colour.
        auto expected = [&](QPoint seed, quint32 colour) {
            return colour == E::kNoClass ? drawing.pixel(seed) : rgb(colour);
        };
        for (const auto &seed : seeds) {
            const QPoint left(seed.leftX, seed.leftY);
            const QPoint right(seed.rightX, seed.rightY);
            QCOMPARE(image.pixel(left + at), expected(left, frmMain->ClassColor[seed.meridian][0]));
            QCOMPARE(image.pixel(right + at),
                     expected(right, frmMain->ClassColor[seed.meridian][1]));
        }
    }

private slots:
    void initTestCase()
    {
        openMainAndGrid(m_dir);
        new TfrmCirc();
        new TfrmBar();
        new TfrmUSin();
        new TfrmHusbWife();
        new TfrmCirc1();
        new TfrmCirc2();
    }

    void cleanupTestCase()
    {
        for (QWidget *window : std::initializer_list<QWidget *>{
                 frmCirc, frmBar, frmUSin, frmHusbWife, frmCirc1, frmCirc2, frmMeres})
            delete window;
        delete frmMain;
    }

    void evaluateReadsTheGridAsItIsNow()
    {
        setGrid(workedExample());
        frmMain->Evaluate();
        QCOMPARE(std::round(frmMain->Deviation[E::Th][1] * 100) / 100, 21.32);
        QCOMPARE(frmMain->ClassColor[E::St][1], E::kNoClass);
        frmMeres->SetCell(2, 12, "60");
        frmMain->Evaluate();
        QCOMPARE(frmMain->ClassColor[E::St][1], E::kGreen);
    }

    void circleShowsLeftAboveAndInTheLeftLobeRightBelowAndInTheRightLobe()
    {
        E::Cells cells = all("100");
        cells[E::Gb * 2] = "1000";
        cells[E::Gb * 2 + 1] = "0";
        setGrid(cells);
        const QImage image = render(frmCirc, QSize(800, 560));
        verifySymbol(image, 400, 70, 40, E::kRed, E::kBlue);
        for (const auto &place : DiagramLayout::Circle) {
            verifySymbol(image, place.x, place.y, 40, frmMain->ClassColor[place.meridian][0],
                         frmMain->ClassColor[place.meridian][1]);
        }
        // A line between two symbols, clear of both.
        QVERIFY(qGray(image.pixel(400, 250)) < 128);
    }

    void circleShowsTheWorkedExample()
    {
        setGrid(workedExample());
        const QImage image = render(frmCirc, QSize(800, 560));
        for (const auto &place : DiagramLayout::Circle) {
            verifySymbol(image, place.x, place.y, 40, frmMain->ClassColor[place.meridian][0],
                         frmMain->ClassColor[place.meridian][1]);
        }
        verifySymbol(image, 310, 95, 40, E::kGreen, E::kRed);
    }

    void emptyGridColoursNoSymbolAndNoRegion()
    {
        setGrid(all(QString()));
        const QImage circle = render(frmCirc, QSize(800, 560));
        for (const auto &place : DiagramLayout::Circle)
            verifySymbol(circle, place.x, place.y, 40, E::kNoClass, E::kNoClass);
        verifyPairs(render(frmUSin, QSize(800, 560)), DiagramLayout::USinPairs);
        verifyPairs(render(frmHusbWife, QSize(800, 560)), DiagramLayout::HusbWifePairs);
        verifySeeds(frmCirc1, render(frmCirc1, QSize(800, 560)), DiagramLayout::Picture1Seeds);
        verifySeeds(frmCirc2, render(frmCirc2, QSize(800, 560)), DiagramLayout::Picture2Seeds);
    }

    void pairDiagramsShowLeftSidesOnly()
    {
        setGrid(workedExample());
        const QImage usin = render(frmUSin, QSize(800, 560));
        const QImage husbWife = render(frmHusbWife, QSize(800, 560));
        verifyPairs(usin, DiagramLayout::USinPairs);
        verifyPairs(husbWife, DiagramLayout::HusbWifePairs);
        // The right side's readings in reverse order: the mean, and so the left side, stays.
        const E::Cells example = workedExample();
        E::Cells changed = example;
        for (int m = 0; m < 12; ++m)
            changed[m * 2 + 1] = example[(11 - m) * 2 + 1];
        setGrid(changed);
        frmMain->Evaluate();
        QCOMPARE(frmMain->ClassColor[E::Th][1], E::kBlue);
        QCOMPARE(frmMain->ClassColor[E::Lv][1], E::kRed);
        QCOMPARE(render(frmUSin, QSize(800, 560)), usin);
        QCOMPARE(render(frmHusbWife, QSize(800, 560)), husbWife);
    }

    void husbandAndWifeHeadingsStayAtTheTop()
    {
        QCOMPARE(frmHusbWife->Label1->text(), QString("Bal kéz - Férj"));
        QCOMPARE(frmHusbWife->Label2->text(), QString("Jobb kéz - Feleség"));
        render(frmHusbWife, QSize(300, 200));
        QCOMPARE(frmHusbWife->Label1->pos(), QPoint(240, 16));
        QCOMPARE(frmHusbWife->Label2->pos(), QPoint(416, 16));
    }

    void picturesFillEveryRegionWithItsClassColour()
    {
        setGrid(workedExample());
        const QImage one = render(frmCirc1, QSize(700, 300));
        QCOMPARE(frmCirc1->Image->pos(), QPoint(28, 50));
        QVERIFY(frmCirc1->Image->isHidden());
        verifySeeds(frmCirc1, one, DiagramLayout::Picture1Seeds);
        const QImage two = render(frmCirc2, QSize(601, 500));
        QCOMPARE(frmCirc2->Image->pos(), QPoint(35, 20));
        verifySeeds(frmCirc2, two, DiagramLayout::Picture2Seeds);
        // Blue (St right) and red (Th right) both show in picture 1.
        QCOMPARE(one.pixel(QPoint(480, 50) + QPoint(28, 50)), rgb(E::kRed));
    }

    void narrowWindowCutsThePictureAndFillsOnlyVisibleSeeds()
    {
        setGrid(workedExample());
        const QImage image = render(frmCirc1, QSize(400, 150));
        QCOMPARE(frmCirc1->Image->pos(), QPoint(-121, -25));
        const QPoint at = frmCirc1->Image->pos();
        // Th right lies at window x 359, visible; Li left at x -21, outside.
        QCOMPARE(image.pixel(QPoint(480, 50) + at), rgb(E::kRed));
        QCOMPARE(image.pixel(QPoint(160, 50) + at), rgb(E::kGreen));
        QCOMPARE(image.size(), QSize(400, 150));
    }

    void barChartKeepsTwentySixPointsAndTwentyFourBarsOverRepaints()
    {
        setGrid(workedExample());
        for (int i = 0; i < 6; ++i)
            render(frmBar, QSize(800, 560));
        const QList<QLineSeries *> lines = {frmBar->Series2, frmBar->Series3, frmBar->Series4,
                                            frmBar->Series5, frmBar->Series6};
        const double levels[] = {14, -14, 0, 7, -7};
        const QColor colours[] = {Qt::black, Qt::black, QColor(0, 128, 0), Qt::red, Qt::blue};
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i]->count(), 26);
            QCOMPARE(lines[i]->at(0), QPointF(-1, levels[i]));
            QCOMPARE(lines[i]->at(25), QPointF(24, levels[i]));
            QCOMPARE(lines[i]->pen().color(), colours[i]);
        }
        const QList<QBarSet *> sets = frmBar->Series1->barSets();
        QCOMPARE(sets.size(), 24);
        QCOMPARE(sets[0]->label(), QString("LU-L"));
        QCOMPARE(sets[9]->label(), QString("TH-R"));
        QCOMPARE(sets[23]->label(), QString("ST-R"));
        for (int bar = 0; bar < 24; ++bar) {
            QCOMPARE(sets[bar]->count(), 24);
            for (int x = 0; x < 24; ++x) {
                QCOMPARE(sets[bar]->at(x), x == bar ? frmMain->Deviation[bar / 2][bar % 2] : 0.0);
            }
            QCOMPARE(sets[bar]->color(), QColor(rgb(frmMain->ClassColor[bar / 2][bar % 2])));
        }
        QCOMPARE(sets[9]->color(), QColor(Qt::red));
        // St right has no reading: a bar of height 0 in no class colour.
        QCOMPARE(sets[23]->color(), QColor(Qt::white));
        QCOMPARE(sets[12]->color(), QColor(160, 160, 255));
    }

    void barChartFollowsTheGridAtTheNextPaint()
    {
        setGrid(all(QString()));
        render(frmBar, QSize(800, 560));
        for (QBarSet *set : frmBar->Series1->barSets()) {
            QCOMPARE(set->color(), QColor(Qt::white));
            QVERIFY(std::abs(set->sum()) < 1e-3);
        }
        const auto axes = frmBar->Chart1->chart()->axes();
        QCOMPARE(axes.size(), 2);
        auto *x =
            qobject_cast<QCategoryAxis *>(frmBar->Chart1->chart()->axes(Qt::Horizontal).first());
        auto *y =
            qobject_cast<QCategoryAxis *>(frmBar->Chart1->chart()->axes(Qt::Vertical).first());
        QCOMPARE(x->min(), -1.0);
        QCOMPARE(x->max(), 24.0);
        QCOMPARE(x->categoriesLabels().first(), QString("LU-L"));
        QCOMPARE(x->endValue("HC-R"), 3.0);
        QCOMPARE(y->min(), -50.0);
        QCOMPARE(y->max(), 50.0);
        QVERIFY(y->categoriesLabels().contains("-50"));
        QVERIFY(!frmBar->Chart1->chart()->legend()->isVisible());
    }

    void barChartValueLabelsFollowTheZoom()
    {
        render(frmBar, QSize(800, 560));
        QChart *chart = frmBar->Chart1->chart();
        auto *y = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Vertical).first());
        chart->zoom(4.0);
        QVERIFY(y->max() - y->min() < 30);
        const QStringList labels = y->categoriesLabels();
        QVERIFY(labels.size() >= 5);
        QVERIFY(labels.contains("0"));
        QVERIFY(!labels.contains("-50"));
        chart->zoomReset();
        QCOMPARE(y->min(), -50.0);
        QVERIFY(y->categoriesLabels().contains("-50"));
        QCOMPARE(frmBar->Series1->barSets().size(), 24);
    }

    void barChartShowsANewSetAtOnceInHeightAndColour()
    {
        setGrid(all("100"));
        frmBar->resize(800, 560);
        frmBar->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBar));
        QTest::qWait(1500); // whatever animation there was settles
        // Th right goes from light blue at -10.8 to red at +21.3.
        setGrid(workedExample());
        QChart *chart = frmBar->Chart1->chart();
        const QImage image = frmBar->Chart1->viewport()->grab().toImage();
        const QPoint tip = frmBar->Chart1->mapFromScene(
            chart->mapToScene(chart->mapToPosition(QPointF(9, 18), frmBar->Series1)));
        QCOMPARE(QColor(image.pixel(tip)), QColor(Qt::red));
        frmBar->hide();
    }

    void barChartDoesNotPaintItselfAgainAndAgain()
    {
        setGrid(workedExample());
        frmBar->resize(800, 560);
        frmBar->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBar));
        QTest::qWait(2000); // the bars' animation settles
        int paints = 0;
        struct Counter : QObject
        {
            int *count;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    ++*count;
                return false;
            }
        } counter;
        counter.count = &paints;
        frmBar->Chart1->viewport()->installEventFilter(&counter);
        frmBar->Chart1->viewport()->update();
        QTest::qWait(300);
        const int afterOne = paints;
        QTest::qWait(700);
        QVERIFY(afterOne >= 1);
        QCOMPARE(paints, afterOne);
        frmBar->Chart1->viewport()->removeEventFilter(&counter);
        frmBar->hide();
    }
};

QTEST_MAIN(TestDiagramWindows)
#include "test_diagram_windows.moc"
