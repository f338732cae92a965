// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SheetTabBar.h"

#include <QPainter>
#include <QPicture>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestSheetTabBar : public QObject
{
    Q_OBJECT

private slots:
    void clickingATabSelectsItAndSignals()
    {
        SheetTabBar bar;
        bar.resize(400, bar.sizeHint().height());
        bar.show();
        bar.setCount(3);
        QCOMPARE(bar.currentIndex(), 0);
        QSignalSpy changed(&bar, &SheetTabBar::currentChanged);
        const int firstWidth = bar.fontMetrics().horizontalAdvance("1.") + 24;
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(firstWidth + 5, 5));
        QCOMPARE(bar.currentIndex(), 1);
        QCOMPARE(changed.count(), 1);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(390, 5));
        QCOMPARE(bar.currentIndex(), 1);
        QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.currentIndex(), 2);
        QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.currentIndex(), 2);
        QCOMPARE(changed.count(), 2);
    }

    void manyTabsScrollToTheSelectedOne()
    {
        SheetTabBar bar;
        bar.resize(300, bar.sizeHint().height());
        bar.show();
        bar.setCount(1000);
        QCOMPARE(bar.tabText(999), QString("1000."));
        const auto arrows = bar.findChildren<QToolButton *>();
        QCOMPARE(arrows.size(), 2);
        QVERIFY(arrows[0]->isVisible());
        bar.setCurrentIndex(999);
        QCOMPARE(bar.currentIndex(), 999);
        // The strip has scrolled: its first tab is now one near the end.
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(3, 5));
        const int first = bar.currentIndex();
        QVERIFY(first > 990 && first < 999);
        arrows[0]->click();
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(bar.currentIndex(), first - 1);
        bar.setCount(0);
        QCOMPARE(bar.currentIndex(), -1);
        QVERIFY(!arrows[0]->isVisible());
    }

    // A print records the window first; the tabs must reach the page with their numbers.
    void tabsAreDrawnWhenTheirWindowIsRecordedForPaper()
    {
        QWidget window;
        window.resize(400, 120);
        auto *bar = new SheetTabBar(&window);
        bar->setGeometry(50, 40, 300, 30);
        bar->setCount(3);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPicture recording;
        {
            QPainter recorder(&recording);
            window.render(&recorder, QPoint(), QRegion(), QWidget::DrawChildren);
        }
        QImage page(400, 120, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            painter.setClipRect(page.rect());
            painter.drawPicture(0, 0, recording);
        }
        int ink = 0;
        for (int y = 40; y < 70; ++y) {
            for (int x = 50; x < 350; ++x)
                ink += qGray(page.pixel(x, y)) < 100;
        }
        QVERIFY2(ink > 20, qPrintable(QString::number(ink)));
    }
};

QTEST_MAIN(TestSheetTabBar)
#include "test_sheet_tab_bar.moc"
