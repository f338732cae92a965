// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/BarScale.h"
#include "diagrams/DiagramLayout.h"
#include "diagrams/Evaluation.h"
#include "diagrams/FloodFill.h"
#include "diagrams/SymbolPainter.h"
#include "diagrams/TablePainter.h"

#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QtTest>
#include <deque>

class TestDiagramDrawing : public QObject
{
    Q_OBJECT

    static constexpr quint32 kRedBgr = 0x000000FF;
    static constexpr quint32 kBlueBgr = 0x00FF0000;

    static QImage blank(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

    static QString asset(const QString &name)
    {
        return qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/" + name;
    }

    // Upper half, lower half, left lobe, right lobe of a symbol of radius r.
    static void verifyHalvesAndLobes(const QImage &image, int x, int y, int r)
    {
        const QRgb a = QColor(Qt::red).rgb();
        const QRgb b = QColor(Qt::blue).rgb();
        QCOMPARE(image.pixel(x, y - r * 3 / 4), a);
        QCOMPARE(image.pixel(x, y + r * 3 / 4), b);
        QCOMPARE(image.pixel(x - r / 2 - r / 8, y + r / 4), a);
        QCOMPARE(image.pixel(x + r / 2 + r / 8, y - r / 4), b);
        QCOMPARE(image.pixel(x - r - 4, y), QColor(Qt::white).rgb());
    }

    // A plain breadth-first fill to hold the scanline fill against.
    static QImage referenceFill(QImage image, QPoint seed, QRgb colour)
    {
        const QRgb target = image.pixel(seed);
        std::deque<QPoint> queue{seed};
        image.setPixel(seed, colour);
        while (!queue.empty()) {
            const QPoint p = queue.front();
            queue.pop_front();
            for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint n = p + d;
                if (image.rect().contains(n) && image.pixel(n) == target) {
                    image.setPixel(n, colour);
                    queue.push_back(n);
                }
            }
        }
        return image;
    }

    static void verifyPicture(const QString &name, QSize size,
                              const std::array<DiagramLayout::Seed, 12> &seeds)
    {
        QFile file(asset(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(54);
        QCOMPARE(header.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 28), quint16(24));
        QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 30), quint32(0));

        const QImage bare = QImage(asset(name)).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bare.size(), size);
        const int total = size.width() * size.height();
        QList<QPoint> points;
        for (const auto &seed : seeds)
            points << QPoint(seed.leftX, seed.leftY) << QPoint(seed.rightX, seed.rightY);

        QImage all = bare;
        for (int i = 0; i < points.size(); ++i) {
            QImage single = bare;
            const int filled = FloodFill::fill(single, points[i], qRgb(1, 2, 3));
            QVERIFY2(filled > 20 && filled < total / 10, qPrintable(QString::number(i)));
            for (int x = 0; x < size.width(); ++x) {
                QVERIFY(single.pixel(x, 0) != qRgb(1, 2, 3));
                QVERIFY(single.pixel(x, size.height() - 1) != qRgb(1, 2, 3));
            }
            for (int y = 0; y < size.height(); ++y) {
                QVERIFY(single.pixel(0, y) != qRgb(1, 2, 3));
                QVERIFY(single.pixel(size.width() - 1, y) != qRgb(1, 2, 3));
            }
            FloodFill::fill(all, points[i], qRgb(10 + i, 20, 30));
        }
        // Had two seeds shared a region, the later fill would have recoloured the earlier seed.
        for (int i = 0; i < points.size(); ++i)
            QCOMPARE(all.pixel(points[i]), qRgb(10 + i, 20, 30));
    }

private slots:
    void coloursAreReadRedInTheLowByte()
    {
        QCOMPARE(SymbolPainter::colour(0x00A0A0FF), QColor(255, 160, 160));
        QCOMPARE(SymbolPainter::colour(0x00FFA0A0), QColor(160, 160, 255));
        QCOMPARE(SymbolPainter::colour(0x00008000), QColor(0, 128, 0));
    }

    void symbolsShowColourAAboveAndLeftColourBBelowAndRight()
    {
        for (bool antialiased : {false, true}) {
            QImage image = blank(400, 200);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, antialiased);
            SymbolPainter::DrawSideSymbol(100, 100, kRedBgr, kBlueBgr, "Gb", &p);
            SymbolPainter::DrawPairSymbol(280, 100, kRedBgr, kBlueBgr, "", "", &p);
            p.end();
            verifyHalvesAndLobes(image, 100, 100, 40);
            verifyHalvesAndLobes(image, 280, 100, 60);
            // The pair symbol's S line runs round the bottom of its left lobe.
            QVERIFY(qGray(image.pixel(250, 100 + 30)) < 100);
        }
    }

    void operationsKeepTheSurfacePenColour()
    {
        QImage image = blank(100, 100);
        QPainter p(&image);
        p.setPen(QColor(0, 0, 200));
        SymbolPainter::DrawSolidLine(10, 50, 90, 50, &p);
        QCOMPARE(p.pen().width(), 2);
        SymbolPainter::DrawDottedLine(10, 20, 90, 20, &p);
        QCOMPARE(p.pen().style(), Qt::DotLine);
        QCOMPARE(p.pen().color(), QColor(0, 0, 200));
        p.end();
        QCOMPARE(image.pixel(50, 50), qRgb(0, 0, 200));
    }

    void barsAreLabelledByMeridianThenSideInGridOrder()
    {
        QCOMPARE(BarScale::barLabel(0), QString("LU-L"));
        QCOMPARE(BarScale::barLabel(1), QString("LU-R"));
        QCOMPARE(BarScale::barLabel(2), QString("HC-L"));
        QCOMPARE(BarScale::barLabel(23), QString("ST-R"));
    }

    void scanlineFillMatchesAPlainFillOnNoise()
    {
        QRandomGenerator random(7);
        for (int round = 0; round < 20; ++round) {
            QImage image = blank(61, 47);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (random.bounded(100) < 40)
                        image.setPixel(x, y, qRgb(0, 0, 0));
                }
            }
            const QPoint seed(random.bounded(61), random.bounded(47));
            const QImage expected = referenceFill(image, seed, qRgb(0, 255, 0));
            QImage actual = image;
            FloodFill::fill(actual, seed, qRgb(0, 255, 0));
            QCOMPARE(actual, expected);
        }
    }

    void fillStopsAtDiagonalGapsAndOutsideTheImage()
    {
        QImage image = blank(20, 20);
        QPainter p(&image);
        p.setPen(Qt::black);
        p.drawLine(0, 19, 19, 0); // one pixel wide: closed for a 4-connected fill
        p.end();
        QCOMPARE(FloodFill::fill(image, QPoint(2, 2), qRgb(255, 0, 0)), 190);
        QCOMPARE(image.pixel(18, 18), QColor(Qt::white).rgb());
        QCOMPARE(FloodFill::fill(image, QPoint(-1, 5), qRgb(0, 255, 0)), 0);
        QCOMPARE(FloodFill::fill(image, QPoint(20, 5), qRgb(0, 255, 0)), 0);
        QCOMPARE(FloodFill::fill(image, QPoint(2, 2), qRgb(255, 0, 0)), 0);
    }

    void pictureOneHasTwentyFourClosedRegionsAtItsSeeds()
    {
        verifyPicture("circ1.bmp", QSize(643, 200), DiagramLayout::Picture1Seeds);
    }

    void pictureTwoHasTwentyFourClosedRegionsAtItsSeeds()
    {
        verifyPicture("circ2.bmp", QSize(530, 460), DiagramLayout::Picture2Seeds);
    }

    // White digits on the dark classes, as on screen, stay white on paper.
    void printedTableKeepsTheTextColourOfItsCells()
    {
        QStandardItemModel model(1, 1);
        model.setHorizontalHeaderLabels({"H"});
        auto *item = new QStandardItem("88,8");
        item->setBackground(SymbolPainter::colour(Evaluation::kBlue));
        item->setForeground(Qt::white);
        model.setItem(0, 0, item);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font;
        font.setPixelSize(20);
        const QSizeF size = TablePainter::paint(painter, QPointF(0, 0), model, font);
        painter.end();
        int light = 0;
        for (int y = qCeil(size.height() / 2) + 3; y < size.height() - 3; ++y) {
            for (int x = 3; x < size.width() - 3; ++x)
                light += qGray(image.pixel(x, y)) > 200;
        }
        QVERIFY(light > 10);
    }
};

QTEST_MAIN(TestDiagramDrawing)
#include "test_diagram_drawing.moc"
