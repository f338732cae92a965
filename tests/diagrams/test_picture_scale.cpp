// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridStage.h"
#include "WorkedExample.h"
#include "diagrams/PicturePainter.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

// The picture diagrams on a screen of double scale.
class TestPictureScale : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        openMainAndGrid(m_dir);
        setGrid(workedExample());
    }

    // Drawn at twice the size, as sharp as the other windows, not enlarged pixels.
    void picturesAreDrawnAtTheScreensScale()
    {
        for (PictureWindow *window :
             std::initializer_list<PictureWindow *>{new TfrmCirc1(), new TfrmCirc2()}) {
            window->resize(window->Image->size());
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QCOMPARE(window->devicePixelRatioF(), 2.0);
            const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
            frmMain->Evaluate();
            QImage expected =
                PicturePainter::filled(window->Drawing(2), window->Seeds(), frmMain->ClassColor, 2);
            QCOMPARE(shown.size(), expected.size());
            expected.setDevicePixelRatio(2);
            QVERIFY(shown == expected.convertToFormat(QImage::Format_RGB32));
            delete window;
        }
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestPictureScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_picture_scale.moc"
