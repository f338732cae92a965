// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SheetTabBar.h"

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
};

QTEST_MAIN(TestSheetTabBar)
#include "test_sheet_tab_bar.moc"
