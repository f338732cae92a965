// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridStage.h"
#include "WorkedExample.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCompare.h"

#include <QCategoryAxis>
#include <QChartView>
#include <QtTest>

// Every chart the user can reach, and whatever a mouse or a new reading does to it.
class TestChartGestures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static void drag(QWidget *area, QPoint from, QPoint till)
    {
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        QTest::mouseMove(area, till);
        QTest::mouseRelease(area, Qt::LeftButton, {}, till);
    }

    static bool animationHasRunOut(QChartView *view, bool first = false)
    {
        static QImage last;
        static int same = 0;
        const QImage now = view->viewport()->grab().toImage();
        same = !first && now == last ? same + 1 : 0;
        last = now;
        return same >= 2;
    }

private slots:
    void initTestCase()
    {
        openMainAndGrid(m_dir);
        setGrid(workedExample());
        for (MdiChild *window :
             std::initializer_list<MdiChild *>{new TfrmBar(), new TfrmCompare()}) {
            window->resize(800, 560);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
    }

    void cleanupTestCase()
    {
        for (QWidget *window :
             std::initializer_list<QWidget *>{frmBar, frmCompare, frmMeres, frmMain})
            delete window;
    }

    void everyGestureLeavesTheChartWorking_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("gesture");
        for (const char *name : {"bar", "pairs", "course"}) {
            for (const char *gesture :
                 {"drag", "right click", "wheel", "double click", "resize",
                  "new readings while zooming", "drag twice", "right click again"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(name, gesture))) << name << gesture;
        }
    }

    void everyGestureLeavesTheChartWorking()
    {
        QFETCH(QString, chart);
        QFETCH(QString, gesture);
        QChartView *view = chart == "bar"     ? frmBar->Chart1
                           : chart == "pairs" ? frmCompare->chPairs
                                              : frmCompare->chCourse;
        QWidget *area = view->viewport();
        const QRect plot = view->mapFromScene(view->chart()->plotArea()).boundingRect();
        const QPoint a = plot.topLeft() + QPoint(plot.width() / 5, plot.height() / 4);
        const QPoint b = plot.center() + QPoint(plot.width() / 6, plot.height() / 5);
        if (gesture.startsWith("drag")) {
            drag(area, a, b);
            if (gesture == "drag twice")
                drag(area, b, a);
        } else if (gesture.startsWith("right click")) {
            QTest::mouseClick(area, Qt::RightButton, {}, plot.center());
        } else if (gesture == "wheel") {
            QWheelEvent turn(plot.center(), area->mapToGlobal(plot.center()), {}, {0, 120}, {}, {},
                             Qt::NoScrollPhase, false);
            QApplication::sendEvent(area, &turn);
        } else if (gesture == "double click") {
            QTest::mouseDClick(area, Qt::LeftButton, {}, plot.center());
        } else if (gesture == "resize") {
            view->window()->resize(view->window()->size() + QSize(-150, 90));
        } else {
            drag(area, a, b);
            setGrid(Evaluation::Cells{});
            frmCompare->Refresh();
            setGrid(workedExample());
        }
        animationHasRunOut(view, true);
        QTRY_VERIFY_WITH_TIMEOUT(animationHasRunOut(view), 20000);
        if (chart == "bar") {
            // A bar's label only where the bar is in view, never piled up at an edge.
            auto *x = qobject_cast<QCategoryAxis *>(view->chart()->axes(Qt::Horizontal).first());
            for (const QString &label : x->categoriesLabels())
                QVERIFY(x->endValue(label) >= x->min() && x->endValue(label) <= x->max());
        }
    }
};

QTEST_MAIN(TestChartGestures)
#include "test_chart_gestures.moc"
