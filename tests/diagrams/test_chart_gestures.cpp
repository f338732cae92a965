#include "GridStage.h"
#include "WorkedExample.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCompare.h"

#include <QChartView>
#include <QValueAxis>
#include <QtTest>

// Every chart the user can reach, and whatever a mouse or a new reading does to it.
class TestChartGestures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QChartView *chart(const QString &name)
    {
        if (name == "bar")
            return frmBar->Chart1;
        return name == "pairs" ? frmCompare->chPairs : frmCompare->chCourse;
    }

    static void mouse(QWidget *to, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }

    static void drag(QWidget *to, QPoint from, QPoint till)
    {
        mouse(to, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            mouse(to, QEvent::MouseMove, from + (till - from) * step / 4, Qt::NoButton,
                  Qt::LeftButton);
        mouse(to, QEvent::MouseButtonRelease, till, Qt::LeftButton, Qt::NoButton);
    }

    static void click(QWidget *to, QPoint at, Qt::MouseButton button)
    {
        mouse(to, QEvent::MouseButtonPress, at, button, button);
        mouse(to, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    static void wheel(QWidget *to, QPoint at)
    {
        QWheelEvent event(at, to->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(to, &event);
    }

    // Whatever animation the gesture started has run out once the chart looks the same
    // through a wait; the first call only takes the picture.
    static bool settled(QChartView *view, bool first = false)
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
        delete frmBar;
        delete frmCompare;
        delete frmMeres;
        delete frmMain;
    }

    void everyGestureLeavesTheChartWorking_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("gesture");
        for (const char *name : {"bar", "pairs", "course"}) {
            for (const char *gesture :
                 {"drag", "drag back", "right click", "wheel", "double click", "resize",
                  "new readings while zooming", "zoom in twice", "right click again"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(name, gesture))) << name << gesture;
        }
    }

    void everyGestureLeavesTheChartWorking()
    {
        QFETCH(QString, chart);
        QFETCH(QString, gesture);
        QChartView *view = TestChartGestures::chart(chart);
        QWidget *area = view->viewport();
        const QRect plot = view->mapFromScene(view->chart()->plotArea()).boundingRect();
        const QPoint a = plot.topLeft() + QPoint(plot.width() / 5, plot.height() / 4);
        const QPoint b = plot.center() + QPoint(plot.width() / 6, plot.height() / 5);
        if (gesture == "drag" || gesture == "zoom in twice") {
            drag(area, a, b);
            if (gesture == "zoom in twice")
                drag(area, b, a);
        } else if (gesture == "drag back") {
            drag(area, b, a);
        } else if (gesture.startsWith("right click")) {
            click(area, plot.center(), Qt::RightButton);
        } else if (gesture == "wheel") {
            wheel(area, plot.center());
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
        settled(view, true);
        QTRY_VERIFY_WITH_TIMEOUT(settled(view), 20000);
        for (QAbstractAxis *axis : view->chart()->axes()) {
            const auto *values = qobject_cast<QValueAxis *>(axis);
            QVERIFY(std::isfinite(values->min()) && std::isfinite(values->max()));
        }
    }
};

QTEST_MAIN(TestChartGestures)
#include "test_chart_gestures.moc"
