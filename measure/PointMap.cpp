// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/PointMap.h"

#include "app/Catalogue.h"

namespace {

const QString kSection = QStringLiteral("MP");

QString key(const char *prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

// The leading digits of at most two characters, as atoi would read them.
int leadingNumber(QStringView text)
{
    int value = 0;
    for (const QChar ch : text) {
        if (!ch.isDigit())
            break;
        value = value * 10 + ch.digitValue();
    }
    return value;
}

MeasPoint readPoint(const Catalogue &catalogue, int number)
{
    MeasPoint point;
    point.X = catalogue.rawInteger(kSection, key("X", number));
    point.Y = catalogue.rawInteger(kSection, key("Y", number));
    point.Picture = PointMap::pictureByName(catalogue.rawString(kSection, key("IMG", number)));
    point.Label = catalogue.rawString(kSection, key("LBL", number));
    const PointMap::Cell cell =
        PointMap::decodeCell(catalogue.rawString(kSection, key("TBL", number)));
    point.Side = cell.side;
    point.Row = cell.row;
    return point;
}

} // namespace

bool MeasPoint::hasPicture() const
{
    return Picture >= 0 && Picture < PointMap::kPictureCount;
}

PointMap::PointMap() : m_points(kPointCount) {}

PointMap PointMap::read(const Catalogue *catalogue)
{
    PointMap map;
    if (!catalogue)
        return map;
    for (int n = 1; n <= kPointCount; ++n)
        map.m_points[n - 1] = readPoint(*catalogue, n);
    return map;
}

const QStringList &PointMap::pictureNames()
{
    static const QStringList names = {QStringLiteral("imgKezFelul"), QStringLiteral("imgTenyer"),
                                      QStringLiteral("imgLabElol"),  QStringLiteral("imgBLKivul"),
                                      QStringLiteral("imgBLBelul"),  QStringLiteral("imgJLBelul"),
                                      QStringLiteral("imgJLKivul")};
    return names;
}

int PointMap::pictureByName(const QString &name)
{
    const QStringList &names = pictureNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

PointMap::Cell PointMap::decodeCell(const QString &code)
{
    const QString used = code.size() < 2 ? QStringLiteral("L1") : code;
    const int side = used.front() == QLatin1Char('R') ? 2 : 1;
    return {side, leadingNumber(QStringView(used).mid(1, 2))};
}
