// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "measure/PointMap.h"
#include "platform/Cp1250.h"
#include "support/TempFiles.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class TestPointMap : public QObject
{
    Q_OBJECT

    TempFiles m_files;

    Catalogue write(const QString &text)
    {
        return Catalogue(m_files.write("tavimer.dat", Cp1250::fromUnicode(text)));
    }

    static void verifyBlank(const PointMap &map)
    {
        QCOMPARE(map.points().size(), 24);
        for (const MeasPoint &point : map.points()) {
            QCOMPARE(point.X, 0);
            QCOMPARE(point.Y, 0);
            QCOMPARE(point.Picture, -1);
            QVERIFY(point.Label.isEmpty());
            QCOMPARE(point.Side, 1);
            QCOMPARE(point.Row, 1);
        }
    }

    static QString source(const QString &relative)
    {
        return qEnvironmentVariable("TAVIMER_SOURCE_DIR") + QLatin1Char('/') + relative;
    }

    // Skin is warm (red over blue by far); the background is a cool grey.
    static bool isSkin(QRgb pixel) { return qRed(pixel) - qBlue(pixel) > 40; }

private slots:
    void aMissingSectionGivesBlankPointsAndNoCatalogueTheProgramsOwnMap()
    {
        verifyBlank(PointMap::read(nullptr));
        const Catalogue other = write("[Title]\nMeas=Mérés\n[Mp2]\nX1=5\n");
        verifyBlank(PointMap::read(&other));
        const Catalogue absent(m_files.path("absent.dat"));
        const Catalogue shipped(source("assets/tavimer.dat"));
        QCOMPARE(PointMap::read(&absent).points().at(23).Label,
                 PointMap::read(&shipped).points().at(23).Label);
    }

    void cellCodesDecode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("row");
        QTest::newRow("empty means L1") << "" << 1 << 1;
        QTest::newRow("one character means L1") << "R" << 1 << 1;
        QTest::newRow("L1") << "L1" << 1 << 1;
        QTest::newRow("R12") << "R12" << 2 << 12;
        QTest::newRow("lower-case r is left") << "r3" << 1 << 3;
        QTest::newRow("leading zero") << "R03" << 2 << 3;
        QTest::newRow("trailing letter ignored") << "R7x" << 2 << 7;
        QTest::newRow("third digit ignored") << "R123" << 2 << 12;
        QTest::newRow("no digits") << "Rx7" << 2 << 0;
        QTest::newRow("sign is no digit") << "L-1" << 1 << 0;
        QTest::newRow("any other letter is left") << "X5" << 1 << 5;
    }

    void cellCodesDecode()
    {
        QFETCH(QString, code);
        QFETCH(int, side);
        QFETCH(int, row);
        const PointMap::Cell cell = PointMap::decodeCell(code);
        QCOMPARE(cell.side, side);
        QCOMPARE(cell.row, row);
    }

    void pictureNamesMatchWithoutRegardToCase()
    {
        QCOMPARE(PointMap::pictureByName("IMGTENYER"), 1);
        QCOMPARE(PointMap::pictureByName("imgkezfelul"), 0);
        QCOMPARE(PointMap::pictureByName("imgJLKivul"), 6);
        QCOMPARE(PointMap::pictureByName("imgTenyer.jpg"), -1);
        QCOMPARE(PointMap::pictureByName(""), -1);
    }

    void keysAreReadStraightFromTheFile()
    {
        const Catalogue catalogue =
            write("[mp]\nx1=0x10\nY1=-1\nimg1=IMGTENYER\nLBL1=Bal kéz#Tüdő\ntbl1=R03\n"
                  "X2=abc\nY2=12\nIMG2=imgNincs\nTBL2=r3\n"
                  "X5=7\nY5=8\nIMG5=imgLabElol\nLBL5=öt\n");
        const PointMap map = PointMap::read(&catalogue);
        const MeasPoint &first = map.point(0);
        QCOMPARE(first.X, 16);
        QCOMPARE(first.Y, -1);
        QVERIFY(!first.hasMarker());
        QCOMPARE(first.Picture, 1);
        QCOMPARE(first.Label, QString::fromUtf8("Bal kéz#Tüdő"));
        QCOMPARE(first.Side, 2);
        QCOMPARE(first.Row, 3);
        const MeasPoint &second = map.point(1);
        QCOMPARE(second.X, 0);
        QCOMPARE(second.Picture, -1);
        QVERIFY(!second.hasPicture());
        QVERIFY(second.Label.isEmpty());
        QCOMPARE(second.Side, 1);
        QCOMPARE(second.Row, 3);
        const MeasPoint &fifth = map.point(4);
        QCOMPARE(fifth.Side, 1);
        QCOMPARE(fifth.Row, 1);
        QCOMPARE(fifth.Label, QString::fromUtf8("öt"));
    }

    void onlyRowsOneToTwelveHaveACell()
    {
        MeasPoint point;
        for (int row : {1, 12})
            QVERIFY((point.Row = row, point.hasCell()));
        for (int row : {0, 13, 99})
            QVERIFY((point.Row = row, !point.hasCell()));
    }

    void shippedMapsAreComplete_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("Hungarian") << "assets/tavimer.dat";
        QTest::newRow("English") << "assets/tavimer-en.dat";
    }

    void shippedMapsAreComplete()
    {
        QFETCH(QString, catalogue);
        const Catalogue file(source(catalogue));
        const PointMap map = PointMap::read(&file);
        const QStringList meridians = {"Lu", "Hc", "Ht", "Si", "Th", "Li",
                                       "Sp", "Lv", "Ki", "Bl", "Gb", "St"};
        QSet<int> cells;
        for (int i = 0; i < PointMap::kPointCount; ++i) {
            const MeasPoint &point = map.point(i);
            const QByteArray where = QByteArray::number(i + 1);
            QVERIFY2(point.hasPicture(), where);
            QVERIFY2(point.hasCell(), where);
            cells.insert(point.Side * 100 + point.Row);
            QVERIFY2(point.X >= 5 && point.X < PointMap::kPictureWidth - 5, where);
            QVERIFY2(point.Y >= 5 && point.Y < PointMap::kPictureHeight - 5, where);
            QVERIFY2(point.Label.endsWith("(" + meridians[point.Row - 1] + ")"), where);
            const QImage picture(
                source("assets/" + PointMap::pictureNames()[point.Picture] + ".jpg"));
            QCOMPARE(picture.size(), QSize(480, 320));
            QVERIFY2(isSkin(picture.pixel(point.X, point.Y)), where);
        }
        QCOMPARE(cells.size(), 24);
    }

    void shippedLabelsNameTheSide()
    {
        const Catalogue hungarian(source("assets/tavimer.dat"));
        const Catalogue english(source("assets/tavimer-en.dat"));
        const PointMap hu = PointMap::read(&hungarian);
        const PointMap en = PointMap::read(&english);
        for (int i = 0; i < PointMap::kPointCount; ++i) {
            const bool left = hu.point(i).Side == 1;
            QVERIFY(hu.point(i).Label.startsWith(left ? "Bal " : "Jobb "));
            QVERIFY(en.point(i).Label.startsWith(left ? "Left " : "Right "));
            QCOMPARE(en.point(i).X, hu.point(i).X);
            QCOMPARE(en.point(i).Y, hu.point(i).Y);
            QCOMPARE(en.point(i).Picture, hu.point(i).Picture);
            QCOMPARE(en.point(i).Row, hu.point(i).Row);
        }
    }
};

QTEST_GUILESS_MAIN(TestPointMap)
#include "test_point_map.moc"
