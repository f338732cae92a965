// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "measure/PointMap.h"
#include "measure/PointPainter.h"
#include "platform/Cp1250.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// Each test picture is one plain colour, so a pixel tells which picture is shown.
class TestPointPainter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QColor pictureColour(int picture) { return QColor(20 + picture * 30, 60, 200); }

    static QList<QImage> plainPictures()
    {
        QList<QImage> pictures;
        for (int i = 0; i < PointMap::kPictureCount; ++i) {
            QImage picture(480, 320, QImage::Format_RGB32);
            picture.fill(pictureColour(i));
            pictures.append(picture);
        }
        return pictures;
    }

    PointMap map(const QString &entries)
    {
        const QString path = m_dir.filePath("tavimer.dat");
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(Cp1250::fromUnicode("[MP]\n" + entries));
        file.close();
        const Catalogue catalogue(path);
        return PointMap::read(&catalogue);
    }

    static QColor at(const QImage &image, int x, int y) { return image.pixelColor(x, y); }

private slots:
    void blinkColoursRunFromYellowToRedAndBack()
    {
        const int greens[] = {240, 192, 144, 96, 48, 0, 48, 96, 144, 192};
        for (int phase = 0; phase < 10; ++phase)
            QCOMPARE(PointPainter::blinkColor(phase), QColor(240, greens[phase], 0));
    }

    void markerCoversTenByTenPixelsAroundThePoint()
    {
        const PointPainter painter(plainPictures());
        QImage area;
        painter.paintPoint(area, map("X1=100\nY1=60\nIMG1=imgTenyer\n"), 0, 5);
        QCOMPARE(area.size(), QSize(480, 320));
        QCOMPARE(at(area, 100, 60), QColor(240, 0, 0));
        QCOMPARE(at(area, 95, 60), QColor(Qt::black));
        QCOMPARE(at(area, 104, 60), QColor(Qt::black));
        QCOMPARE(at(area, 100, 55), QColor(Qt::black));
        QCOMPARE(at(area, 100, 64), QColor(Qt::black));
        QCOMPARE(at(area, 105, 60), pictureColour(1));
        QCOMPARE(at(area, 100, 65), pictureColour(1));
        QCOMPARE(at(area, 94, 60), pictureColour(1));
        QCOMPARE(at(area, 95, 55), pictureColour(1));
    }

    void onlyPointsOnTheCurrentPictureHaveMarkers()
    {
        const PointPainter painter(plainPictures());
        const PointMap points = map("X1=50\nY1=50\nIMG1=imgLabElol\n"
                                    "X2=150\nY2=50\nIMG2=IMGLABELOL\n"
                                    "X3=250\nY3=50\nIMG3=imgTenyer\n"
                                    "X4=-1\nY4=50\nIMG4=imgLabElol\n"
                                    "X5=350\nY5=-3\nIMG5=imgLabElol\n");
        QImage area;
        painter.paintPoint(area, points, 1, 0);
        QCOMPARE(at(area, 0, 0), pictureColour(2));
        QCOMPARE(at(area, 50, 50), PointPainter::markerGrey());
        QCOMPARE(at(area, 150, 50), QColor(240, 240, 0));
        QCOMPARE(at(area, 250, 50), pictureColour(2));
        QCOMPARE(at(area, 4, 50), pictureColour(2));
        QCOMPARE(at(area, 350, 1), pictureColour(2));
    }

    void aNewPictureCoversTheOldMarkers()
    {
        const PointPainter painter(plainPictures());
        const PointMap points =
            map("X1=50\nY1=50\nIMG1=imgTenyer\nX2=150\nY2=50\nIMG2=imgBLKivul\n");
        QImage area;
        painter.paintPoint(area, points, 0, 0);
        painter.paintPoint(area, points, 1, 0);
        QCOMPARE(at(area, 50, 50), pictureColour(3));
        painter.paintIdle(area);
        QCOMPARE(at(area, 150, 50), pictureColour(0));
    }

    void pointWithoutPictureShowsTheIdlePictureWithoutMarkers()
    {
        const PointPainter painter(plainPictures());
        const PointMap points = map("X1=50\nY1=50\nIMG1=imgSehol\nX2=60\nY2=60\n"
                                    "X3=70\nY3=70\nIMG3=imgKezFelul\n");
        QImage area;
        painter.paintPoint(area, points, 0, 0);
        QCOMPARE(at(area, 50, 50), pictureColour(0));
        QCOMPARE(at(area, 60, 60), pictureColour(0));
        QCOMPARE(at(area, 70, 70), pictureColour(0));
    }

    void missingOrMisSizedPicturesAreReplacedByAPlainArea()
    {
        QList<QImage> pictures = plainPictures();
        pictures[1] = QImage();
        pictures[2] = pictures[2].scaled(100, 100);
        pictures.removeLast();
        const PointPainter painter(pictures);
        const PointMap points =
            map("X1=50\nY1=50\nIMG1=imgTenyer\nIMG2=imgLabElol\nIMG3=imgJLKivul\n");
        QImage area;
        for (int i = 0; i < 3; ++i) {
            painter.paintPoint(area, points, i, 0);
            QCOMPARE(area.size(), QSize(480, 320));
        }
        QCOMPARE(at(area, 10, 10), at(area, 470, 310));
    }

    // One tick's drawing at its worst: all 24 points on the current picture.
    void reportsTheTickDrawingTime()
    {
        const QString assets = qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets";
        const PointPainter painter(PointPainter::picturesFrom(assets, ".jpg"));
        QString entries;
        for (int n = 1; n <= 24; ++n)
            entries += QString("X%1=%2\nY%1=%3\nIMG%1=imgTenyer\n").arg(n).arg(n * 19).arg(n * 12);
        const PointMap points = map(entries);
        QImage area;
        QList<qint64> times;
        QElapsedTimer clock;
        for (int run = 0; run < 500; ++run) {
            clock.start();
            painter.paintPoint(area, points, run % 24, run % 10);
            times.append(clock.nsecsElapsed());
        }
        std::sort(times.begin(), times.end());
        const double medianMs = times[times.size() / 2] / 1e6;
        // Reported, not judged: a busy machine would fail a bound (goal: under 2 ms).
        qInfo("tick drawing, median of %lld runs: %.3f ms", qlonglong(times.size()), medianMs);
    }
};

QTEST_GUILESS_MAIN(TestPointPainter)
#include "test_point_painter.moc"
