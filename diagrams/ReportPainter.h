// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

class Catalogue;
class PatientReport;
class QPagedPaintDevice;
class QPainter;

// Lays the patient report out on three pages: data, readings table and bar diagram; the
// circle, USin and husband-wife diagrams; the two picture diagrams. Everything but the two
// pictures is drawn as lines and text.
class ReportPainter
{
public:
    static constexpr int kPages = 3;

    struct Footer
    {
        QString program;
        QDateTime printed;
    };

    // The two pictures come as drawn; the report colours their regions.
    // The pictures may be drawn `scale` times their own size.
    ReportPainter(const PatientReport &report, const Catalogue &catalogue, const QImage &picture1,
                  const QImage &picture2, Footer footer, int scale = 1);

    // The painter is active on the device; pages after the first are started here.
    void paint(QPainter &p, QPagedPaintDevice &device);

private:
    void dataPage(QPainter &p) const;
    void drawnDiagramsPage(QPainter &p) const;
    void picturesPage(QPainter &p) const;
    void footer(QPainter &p, int page) const;
    // Draws a labelled value and returns the y under it; a value higher than `room` is set
    // in columns and smaller type.
    qreal field(QPainter &p, qreal x, qreal y, qreal width, const QString &key,
                const QString &value, qreal room = 1e5) const;
    static qreal columnsHeight(QPainter &p, qreal width, const QStringList &lines, int columns,
                               const QPointF *at);
    static qreal fieldHeight(QPainter &p, qreal width, const QString &value);
    void table(QPainter &p, qreal x, qreal y, int side) const;
    qreal heading(QPainter &p, qreal y, const QString &text) const;
    QString text(const QString &key) const;
    QString title(const QString &key) const;

    const PatientReport &m_report;
    const Catalogue &m_catalogue;
    QImage m_picture1;
    QImage m_picture2;
    Footer m_footer;
    qreal m_height = 0; // of the page, in report units
};
