// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/ReportPainter.h"

#include "app/Catalogue.h"
#include "diagrams/BarPainter.h"
#include "diagrams/DiagramPainter.h"
#include "diagrams/PatientReport.h"
#include "diagrams/PicturePainter.h"
#include "diagrams/SymbolPainter.h"

#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextOption>
#include <functional>

namespace {
// Every page is laid out 800 units wide, the width the drawn diagrams were made for.
constexpr qreal kWidth = 800;
// A portrait page at least this high; on a landscape page the layout keeps its shape.
constexpr qreal kLeastHeight = 1100;
constexpr qreal kFooterSpace = 30;
constexpr int kTextPixels = 12;
constexpr int kTitlePixels = 22;
constexpr int kHeadingPixels = 15;
constexpr qreal kLine = 20;
constexpr qreal kLabelWidth = 120;
constexpr qreal kRow = 20;
constexpr qreal kColumns[] = {62, 50, 78, 78, 122};
constexpr qreal kTableWidth = 390;
constexpr qreal kLeastBar = 300;
// How far a long status may shrink: columns side by side, then smaller type.
constexpr int kMostColumns = 4;
constexpr int kSmallestPixels = 8;

QFont reportFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Draws something laid out in `source` as large as fits into `target`, centred.
void drawFitted(QPainter &p, const QRectF &source, const QRectF &target,
                const std::function<void()> &draw)
{
    const qreal scale =
        std::min(target.width() / source.width(), target.height() / source.height());
    p.save();
    p.translate(target.center());
    p.scale(scale, scale);
    p.translate(-source.center());
    draw();
    p.restore();
}

bool darkColour(quint32 bgr)
{
    return qGray(SymbolPainter::colour(bgr).rgb()) < 110;
}
} // namespace

ReportPainter::ReportPainter(const PatientReport &report, const Catalogue &catalogue,
                             const QImage &picture1, const QImage &picture2, Footer footer,
                             int scale)
    : m_report(report), m_catalogue(catalogue),
      m_picture1(PicturePainter::filled(picture1, DiagramLayout::Picture1Seeds,
                                        report.result.ClassColor, scale)),
      m_picture2(PicturePainter::filled(picture2, DiagramLayout::Picture2Seeds,
                                        report.result.ClassColor, scale)),
      m_footer(std::move(footer))
{
}

QString ReportPainter::text(const QString &key) const
{
    return m_catalogue.text(QStringLiteral("Report"), key);
}

QString ReportPainter::title(const QString &key) const
{
    return m_catalogue.text(QStringLiteral("Title"), key);
}

void ReportPainter::paint(QPainter &p, QPagedPaintDevice &device)
{
    const qreal scale = std::min(device.width() / kWidth, device.height() / kLeastHeight);
    m_height = device.height() / scale;
    const qreal left = (device.width() / scale - kWidth) / 2;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // Line art: a lossy compression would blur its lines.
    p.setRenderHint(QPainter::LosslessImageRendering);
    const std::function<void(QPainter &)> pages[] = {[this](QPainter &q) { dataPage(q); },
                                                     [this](QPainter &q) { drawnDiagramsPage(q); },
                                                     [this](QPainter &q) { picturesPage(q); }};
    for (int page = 0; page < kPages; ++page) {
        if (page > 0)
            device.newPage();
        p.save();
        p.scale(scale, scale);
        p.translate(left, 0);
        pages[page](p);
        footer(p, page + 1);
        p.restore();
    }
}

qreal ReportPainter::heading(QPainter &p, qreal y, const QString &text) const
{
    p.setFont(reportFont(kHeadingPixels, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(0, y, kWidth, kLine + 4), Qt::AlignLeft | Qt::AlignVCenter, text);
    return y + kLine + 8;
}

qreal ReportPainter::field(QPainter &p, qreal x, qreal y, qreal width, const QString &key,
                           const QString &value, qreal room) const
{
    p.setPen(Qt::black);
    p.setFont(reportFont(kTextPixels, true));
    p.drawText(QRectF(x, y, kLabelWidth, kLine), Qt::AlignLeft | Qt::AlignTop, text(key));
    const QStringList lines = value.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    // A status of many short lines takes columns and smaller type, not the bar diagram's room.
    for (int pixels = kTextPixels;; pixels -= 2) {
        for (int columns = 1; columns <= kMostColumns; ++columns) {
            p.setFont(reportFont(pixels));
            const qreal height = columnsHeight(p, width - kLabelWidth, lines, columns, nullptr);
            if (height <= room || (pixels <= kSmallestPixels && columns == kMostColumns)) {
                const QPointF at(x + kLabelWidth, y);
                columnsHeight(p, width - kLabelWidth, lines, columns, &at);
                return y + std::max(kLine, height + 4);
            }
        }
    }
}

// The lines in `columns` columns of equal line counts; drawn at `at` unless that is null.
qreal ReportPainter::columnsHeight(QPainter &p, qreal width, const QStringList &lines, int columns,
                                   const QPointF *at)
{
    const int perColumn = (static_cast<int>(lines.size()) + columns - 1) / columns;
    const qreal columnWidth = width / columns;
    // A word longer than the line is broken, not cut off.
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal height = 0;
    for (int c = 0; c < columns; ++c) {
        const QString text = lines.mid(c * perColumn, perColumn).join(QLatin1Char('\n'));
        const QRectF box(c * columnWidth, 0, columnWidth - (c + 1 < columns ? 8 : 0), 1e5);
        height = std::max(height, text.isEmpty() ? 0 : p.boundingRect(box, text, option).height());
        if (at)
            p.drawText(box.translated(*at), text, option);
    }
    return height;
}

qreal ReportPainter::fieldHeight(QPainter &p, qreal width, const QString &value)
{
    p.setFont(reportFont(kTextPixels));
    const QStringList lines = value.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    return std::max(kLine, columnsHeight(p, width - kLabelWidth, lines, 1, nullptr) + 4);
}

void ReportPainter::table(QPainter &p, qreal x, qreal y, int side) const
{
    const QString headers[] = {text(QStringLiteral("Meridian")), text(QStringLiteral("Side")),
                               text(QStringLiteral("Reading")), text(QStringLiteral("Deviation")),
                               text(QStringLiteral("Class"))};
    auto cells = [&](qreal top, const QString *values, const QColor &fill, bool bold,
                     const QColor &ink) {
        qreal left = x;
        p.setFont(reportFont(kTextPixels - 1, bold));
        for (int c = 0; c < 5; ++c) {
            const QRectF cell(left, top, kColumns[c], kRow);
            const QColor background = c == 4 || bold ? fill : QColor(Qt::white);
            p.fillRect(cell, background);
            p.setPen(QPen(Qt::gray, 0.5));
            p.drawRect(cell);
            p.setPen(c == 4 ? ink : QColor(Qt::black));
            const int align = (c == 2 || c == 3) && !bold ? Qt::AlignRight : Qt::AlignLeft;
            p.drawText(cell.adjusted(4, 0, -4, 0), align | Qt::AlignVCenter, values[c]);
            left += kColumns[c];
        }
    };
    cells(y, headers, QColor(225, 225, 225), true, Qt::black);
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        const PatientReport::Row &row = m_report.rows[m * Evaluation::kSides + side];
        const QString values[] = {row.meridian, row.side, row.reading, row.deviation,
                                  row.className};
        cells(y + (m + 1) * kRow, values, SymbolPainter::colour(row.colour), false,
              darkColour(row.colour) ? Qt::white : Qt::black);
    }
}

void ReportPainter::dataPage(QPainter &p) const
{
    p.setPen(Qt::black);
    p.setFont(reportFont(kTitlePixels, true));
    p.drawText(QRectF(0, 0, kWidth, 32), Qt::AlignLeft | Qt::AlignVCenter,
               text(QStringLiteral("Title")));
    qreal y = 44;
    constexpr qreal half = kWidth / 2;
    const PatientReport &r = m_report;
    field(p, half, y, half, QStringLiteral("Id"), r.patient.id);
    y = field(p, 0, y, half, QStringLiteral("Name"), r.patient.name);
    field(p, half, y, half, QStringLiteral("Time"), r.time);
    y = field(p, 0, y, half, QStringLiteral("Birth"), r.patient.birthDate);
    y = field(p, 0, y, kWidth, QStringLiteral("Place"), r.place);
    // What comes under the status, with the bar diagram at a readable least height.
    const qreal below = fieldHeight(p, kWidth, r.remark) + 10 +
                        (Evaluation::kMeridians + 1) * kRow + 12 + kLine + 8 +
                        (r.notice.isEmpty() ? 0 : kLine + 8) + kLine + 8 + kLeastBar;
    y = field(p, 0, y, kWidth, QStringLiteral("Status"), r.status,
              m_height - kFooterSpace - 8 - y - below);
    y = field(p, 0, y, kWidth, QStringLiteral("Remark"), r.remark) + 10;

    table(p, 0, y, Evaluation::Left);
    table(p, kWidth - kTableWidth, y, Evaluation::Right);
    y += (Evaluation::kMeridians + 1) * kRow + 12;
    field(p, half, y, half, QStringLiteral("Reference"), r.reference);
    y = field(p, 0, y, half, QStringLiteral("Mean"), r.mean) + 8;
    if (!r.notice.isEmpty()) {
        p.setFont(reportFont(kTextPixels, true));
        p.drawText(QRectF(0, y, kWidth, kLine), Qt::AlignLeft | Qt::AlignVCenter, r.notice);
        y += kLine + 8;
    }

    y = heading(p, y, title(QStringLiteral("DiagBar")));
    BarPainter::paint(p, QRectF(0, y, kWidth, m_height - kFooterSpace - 8 - y), r.result,
                      r.numbers);
}

void ReportPainter::drawnDiagramsPage(QPainter &p) const
{
    const qreal band = (m_height - kFooterSpace) / 3;
    const auto &colours = m_report.result.ClassColor;
    struct Diagram
    {
        const char *titleKey;
        const QRectF &box;
        std::function<void()> draw;
    };
    const Diagram diagrams[] = {
        {"DiagCirc", DiagramLayout::CircleBox, [&] { DiagramPainter::circle(p, colours); }},
        {"DiagUSin", DiagramLayout::USinBox, [&] { DiagramPainter::uSin(p, colours); }},
        {"DiagHusbWife", DiagramLayout::HusbWifeBox, [&] {
             DiagramPainter::husbandWifeHeadings(p, m_catalogue.text("HusbWife", "Label1"),
                                                 m_catalogue.text("HusbWife", "Label2"));
             DiagramPainter::husbandWife(p, colours);
         }}};
    for (int i = 0; i < 3; ++i) {
        const qreal top = heading(p, i * band, title(QString::fromLatin1(diagrams[i].titleKey)));
        p.setPen(Qt::black);
        drawFitted(p, diagrams[i].box, QRectF(0, top, kWidth, (i + 1) * band - top - 6),
                   diagrams[i].draw);
    }
}

void ReportPainter::picturesPage(QPainter &p) const
{
    const qreal half = (m_height - kFooterSpace) / 2;
    const QImage *pictures[] = {&m_picture1, &m_picture2};
    const char *titles[] = {"DiagCirc1", "DiagCirc2"};
    for (int i = 0; i < 2; ++i) {
        const qreal top = heading(p, i * half, title(QString::fromLatin1(titles[i])));
        const QImage &picture = *pictures[i];
        if (picture.isNull())
            continue;
        drawFitted(p, QRectF(picture.rect()), QRectF(0, top, kWidth, (i + 1) * half - top - 6),
                   [&] { p.drawImage(QPointF(0, 0), picture); });
    }
}

void ReportPainter::footer(QPainter &p, int page) const
{
    const qreal top = m_height - kFooterSpace + 8;
    p.setPen(QPen(Qt::gray, 0.5));
    p.drawLine(QPointF(0, top), QPointF(kWidth, top));
    p.setPen(Qt::black);
    p.setFont(reportFont(kTextPixels - 2));
    const QRectF line(0, top + 2, kWidth, kFooterSpace - 10);
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, m_footer.program);
    p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
               m_report.numbers.toString(m_footer.printed.date(), QLocale::ShortFormat));
    p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
               text(QStringLiteral("Page")).arg(page).arg(kPages));
}
