// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Catalogue;

// One measuring point: where its marker sits on which picture, the prompt shown
// while it is measured, and the grid cell (column Side, row Row) of its reading.
struct MeasPoint
{
    int X = 0;
    int Y = 0;
    int Picture = -1;
    QString Label;
    int Side = 1;
    int Row = 1;

    bool hasPicture() const;
    // Rows outside 1 to 12 have no cell: such a reading has nowhere to go.
    bool hasCell() const { return Row >= 1 && Row <= 12; }
    // A map hides a marker with a negative coordinate.
    bool hasMarker() const { return X >= 0 && Y >= 0; }
};

// The 24 measuring points, read from the catalogue section "MP". The map is data:
// the program fixes only the seven pictures and the grid's row order.
class PointMap
{
public:
    static constexpr int kPointCount = 24;
    static constexpr int kPictureCount = 7;
    static constexpr int kPictureWidth = 480;
    static constexpr int kPictureHeight = 320;
    // The picture that is shown while no point is active.
    static constexpr int kIdlePicture = 0;

    struct Cell
    {
        int side;
        int row;
    };

    PointMap();

    // Straight from the file: absent keys give 0 or empty, "#" stays as it is.
    // No catalogue reads like an empty one.
    static PointMap read(const Catalogue *catalogue);

    // imgKezFelul, imgTenyer, imgLabElol, imgBLKivul, imgBLBelul, imgJLBelul, imgJLKivul.
    static const QStringList &pictureNames();
    // The index in pictureNames(), case ignored; -1 when the text names none.
    static int pictureByName(const QString &name);
    static Cell decodeCell(const QString &code);

    // Index 0 is point 1.
    const MeasPoint &point(int index) const { return m_points.at(index); }
    const QList<MeasPoint> &points() const { return m_points; }

private:
    QList<MeasPoint> m_points;
};
