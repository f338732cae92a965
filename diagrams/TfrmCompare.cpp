// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/TfrmCompare.h"

#include "app/TfrmMain.h"
#include "diagrams/BarScale.h"
#include "diagrams/ChartFormat.h"
#include "diagrams/PatientReport.h"
#include "diagrams/SymbolPainter.h"
#include "records/TfrmKarton.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScatterSeries>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

TfrmCompare *frmCompare = nullptr;

namespace {
constexpr int kPoints = Evaluation::kCells;

constexpr int kCourseHeight = 200;

const QColor kBeforeColour(150, 160, 175);
const QColor kAfterColour(40, 70, 130);

enum Column
{
    ColMeridian,
    ColSide,
    ColReadingBefore,
    ColReadingAfter,
    ColDeviationBefore,
    ColDeviationAfter,
    ColChange,
    ColumnCount
};

void shade(QTableWidgetItem *item, quint32 colour)
{
    item->setBackground(SymbolPainter::colour(colour));
    // Full blue and full red need light text to stay readable.
    const bool dark = colour == Evaluation::kBlue || colour == Evaluation::kRed;
    item->setForeground(dark ? Qt::white : Qt::black);
}

// Numbers in the program's language, as the report writes them, not the system's.
QLocale numbers()
{
    return PatientReport::locale(*frmMain->catalogue());
}

QString deviationText(bool present, double deviation)
{
    return present ? ChartFormat::value(deviation, numbers()) : SheetComparison::kMissing;
}
} // namespace

TfrmCompare::TfrmCompare(QWidget *parent) : MdiChild(true, parent)
{
    frmCompare = this;
    setWindowTitle(text("Title"));
    m_balancedLabel = text("Balanced");
    m_spreadLabel = text("Spread");
    m_noSheets = text("NoSheets");
    m_noReadings = text("NoReadings");

    stSummary = new QLabel(this);
    QFont bold = stSummary->font();
    bold.setBold(true);
    stSummary->setFont(bold);
    buildTable();
    buildPairChart();
    buildCourseChart();

    // The charts share the lower half, so that both stay readable in the frame's smallest size.
    auto *charts = new QSplitter(Qt::Horizontal);
    charts->addWidget(withLegend(chPairs));
    charts->addWidget(chCourse);
    charts->setStretchFactor(0, 1);
    charts->setStretchFactor(1, 1);
    charts->setSizes({1, 1});
    auto *rows = new QSplitter(Qt::Vertical);
    rows->addWidget(grTabla);
    rows->addWidget(charts);
    rows->setStretchFactor(0, 1);
    rows->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildChoice());
    layout->addWidget(stSummary);
    layout->addWidget(rows, 1);
    resize(760, 520);

    if (frmKarton)
        connect(frmKarton, &TfrmKarton::sheetsChanged, this, &TfrmCompare::CardChanged);
    connect(frmMain->mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub && sub == subWindow() && m_dirty)
            Refresh();
    });
    showEmpty();
}

QString TfrmCompare::text(const char *key) const
{
    return frmMain->CatalogueText(QStringLiteral("Compare"), QString::fromLatin1(key));
}

QWidget *TfrmCompare::buildChoice()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto choice = [row, layout](const QString &caption) {
        auto *box = new QComboBox(row);
        box->setMinimumContentsLength(22);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        auto *label = new QLabel(caption, row);
        label->setBuddy(box);
        layout->addWidget(label);
        layout->addWidget(box);
        layout->addSpacing(16);
        return box;
    };
    cbElotte = choice(text("Before"));
    cbUtana = choice(text("After"));
    layout->addStretch(1);
    for (QComboBox *box : {cbElotte, cbUtana})
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmCompare::cbChange);
    return row;
}

void TfrmCompare::buildTable()
{
    grTabla = new QTableWidget(kPoints, ColumnCount, this);
    grTabla->setHorizontalHeaderLabels({text("Meridian"), text("Side"), text("ReadingBefore"),
                                        text("ReadingAfter"), text("DevBefore"), text("DevAfter"),
                                        text("Change")});
    grTabla->horizontalHeaderItem(ColChange)->setToolTip(text("ChangeHint"));
    grTabla->verticalHeader()->hide();
    grTabla->verticalHeader()->setDefaultSectionSize(grTabla->fontMetrics().height() + 4);
    grTabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grTabla->setSelectionMode(QAbstractItemView::NoSelection);
    grTabla->setWordWrap(false);
    const QString sides[] = {
        frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Left")),
        frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Right"))};
    for (int point = 0; point < kPoints; ++point) {
        grTabla->setItem(point, ColMeridian,
                         new QTableWidgetItem(QString::fromLatin1(
                             Evaluation::MeridianCodes[point / Evaluation::kSides])));
        grTabla->setItem(point, ColSide, new QTableWidgetItem(sides[point % Evaluation::kSides]));
        for (int col = ColReadingBefore; col < ColumnCount; ++col) {
            auto *item = new QTableWidgetItem();
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grTabla->setItem(point, col, item);
        }
    }
    fitTable();
}

void TfrmCompare::fitTable()
{
    // Every column in view; only the rows may scroll.
    grTabla->resizeColumnsToContents();
    grTabla->setMinimumWidth(grTabla->horizontalHeader()->length() +
                             grTabla->verticalScrollBar()->sizeHint().width() +
                             2 * grTabla->frameWidth());
}

void TfrmCompare::buildPairChart()
{
    auto *chart = new QChart();
    chart->setPlotAreaBackgroundVisible(false);
    // The chart's own legend loses its markers on paper; a label prints as it shows.
    chart->legend()->hide();
    srPairs = new QBarSeries(chart);
    srPairs->setBarWidth(0.8);
    for (const auto &[key, colour] :
         {std::pair{"Before", kBeforeColour}, {"After", kAfterColour}}) {
        auto *set = new QBarSet(text(key));
        set->setColor(colour);
        set->setPen(Qt::NoPen);
        set->append(QList<qreal>(kPoints, 0.0));
        srPairs->append(set);
    }
    chart->addSeries(srPairs);

    // One label under each meridian's pair of points, left then right: rotated point labels
    // would not fit a window of the frame's smallest size.
    auto *axisX = new QCategoryAxis(chart);
    axisX->setRange(BarScale::kFirstX, BarScale::kLastX);
    axisX->setStartValue(BarScale::kFirstX);
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX->setGridLineVisible(false);
    for (int m = 0; m < Evaluation::kMeridians; ++m)
        axisX->append(QString::fromLatin1(Evaluation::MeridianCodes[m]),
                      m * Evaluation::kSides + 0.5);
    auto *axisY = new QCategoryAxis(chart);
    axisY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisY->setRange(BarScale::kMinY, BarScale::kMaxY);
    // Few labels: the chart shares the lower half of the window with the course.
    const QList<double> ticks = {BarScale::kMinY, BarScale::kMinY / 2, 0, BarScale::kMaxY / 2,
                                 BarScale::kMaxY};
    axisY->setStartValue(ticks.first());
    for (double tick : ticks)
        axisY->append(ChartFormat::axisLabel(tick, numbers()), tick);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    srPairs->attachAxis(axisX);
    srPairs->attachAxis(axisY);

    for (const auto &level : BarScale::kLevels) {
        auto *line = new QLineSeries(chart);
        line->setPen(QPen(SymbolPainter::colour(level.colour), 1.5));
        line->append(BarScale::kFirstX, level.y);
        line->append(BarScale::kLastX, level.y);
        chart->addSeries(line);
        line->attachAxis(axisX);
        line->attachAxis(axisY);
        chart->legend()->markers(line).first()->setVisible(false);
    }
    chPairs = new QChartView(chart, this);
    chPairs->setRenderHint(QPainter::Antialiasing);
}

QWidget *TfrmCompare::withLegend(QWidget *chart)
{
    auto *legend = new QLabel();
    legend->setAlignment(Qt::AlignCenter);
    const QString entry = QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2");
    legend->setText(entry.arg(kBeforeColour.name(), text("Before").toHtmlEscaped()) +
                    QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") +
                    entry.arg(kAfterColour.name(), text("After").toHtmlEscaped()));
    auto *box = new QWidget();
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(legend);
    layout->addWidget(chart, 1);
    return box;
}

void TfrmCompare::buildCourseChart()
{
    auto *chart = new QChart();
    chart->setTitle(text("Course"));
    chart->setMargins(QMargins(4, 0, 4, 0));
    chart->legend()->hide();
    chart->setPlotAreaBackgroundVisible(false);
    srCourse = new QLineSeries(chart);
    srCourse->setPen(QPen(Qt::darkGray, 1.5));
    srCourse->setPointsVisible(true);
    srBefore = new QScatterSeries(chart);
    srAfter = new QScatterSeries(chart);
    for (auto [series, colour] : {std::pair{srBefore, kBeforeColour}, {srAfter, kAfterColour}}) {
        series->setColor(colour);
        series->setBorderColor(Qt::black);
        series->setMarkerSize(12);
    }
    m_courseX = new QValueAxis(chart);
    m_courseX->setLabelFormat(QStringLiteral("%d"));
    m_courseX->setTickType(QValueAxis::TicksDynamic);
    m_courseX->setTickAnchor(1);
    auto *axisY = new QValueAxis(chart);
    axisY->setRange(0, kPoints);
    axisY->setTickCount(5);
    axisY->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_courseX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    for (QXYSeries *series :
         {static_cast<QXYSeries *>(srCourse), static_cast<QXYSeries *>(srBefore),
          static_cast<QXYSeries *>(srAfter)}) {
        chart->addSeries(series);
        series->attachAxis(m_courseX);
        series->attachAxis(axisY);
    }
    chCourse = new QChartView(chart, this);
    chCourse->setRenderHint(QPainter::Antialiasing);
    chCourse->setMinimumHeight(kCourseHeight);
}

void TfrmCompare::Open()
{
    Refresh(true);
    frmMain->bringToFront(this);
}

void TfrmCompare::CardChanged()
{
    m_dirty = true;
    if (m_pending)
        return;
    // Once the cards window has finished: a card is opened in several steps.
    m_pending = true;
    QTimer::singleShot(0, this, &TfrmCompare::refreshIfSeen);
}

void TfrmCompare::refreshIfSeen()
{
    m_pending = false;
    if (m_dirty && isVisible() && !visibleRegion().isEmpty())
        Refresh();
}

void TfrmCompare::Refresh(bool defaultPair)
{
    m_dirty = false;
    const bool open = frmKarton && frmKarton->isCardOpen();
    const QString path = open ? frmKarton->sheetPath() : QString();
    // The sheets as the card's tabs show them.
    const QList<KLRecord> sheets = open ? frmKarton->shownSheets() : QList<KLRecord>();
    const bool sameList = path == m_path && sheets.size() == m_readings.size();
    m_path = path;
    m_readings.clear();
    for (const KLRecord &sheet : sheets)
        m_readings.append(sheet.Readings);
    if (m_readings.isEmpty()) {
        showEmpty();
        return;
    }
    const QPair<int, int> pair =
        sameList && !defaultPair && cbUtana->currentIndex() >= 0
            ? QPair<int, int>(cbElotte->currentIndex(), cbUtana->currentIndex())
            : SheetComparison::defaultPair(frmKarton->sheetIndex(), m_readings.size());
    m_course = SheetComparison::course(m_readings);
    fillCourse();
    fillSheetLists(sheets, pair);
    cbChange();
}

void TfrmCompare::showEmpty()
{
    m_readings.clear();
    m_course.clear();
    for (QComboBox *box : {cbElotte, cbUtana}) {
        const QSignalBlocker block(box);
        box->clear();
        box->setEnabled(false);
    }
    stSummary->setText(m_noSheets);
    for (int point = 0; point < kPoints; ++point) {
        for (int col = ColReadingBefore; col < ColumnCount; ++col) {
            QTableWidgetItem *item = grTabla->item(point, col);
            item->setText(QString());
            item->setData(Qt::BackgroundRole, QVariant());
            item->setData(Qt::ForegroundRole, QVariant());
        }
    }
    for (QBarSet *set : srPairs->barSets()) {
        for (int point = 0; point < kPoints; ++point)
            set->replace(point, 0.0);
    }
    fillCourse();
    markPair(-1, -1);
}

void TfrmCompare::fillSheetLists(const QList<KLRecord> &sheets, QPair<int, int> pair)
{
    QStringList captions;
    captions.reserve(sheets.size());
    for (int i = 0; i < sheets.size(); ++i)
        captions.append(SheetComparison::sheetCaption(i, sheets[i].Idopont));
    for (QComboBox *box : {cbElotte, cbUtana}) {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(captions);
        box->setEnabled(true);
    }
    const QSignalBlocker blockBefore(cbElotte);
    const QSignalBlocker blockAfter(cbUtana);
    cbElotte->setCurrentIndex(pair.first);
    cbUtana->setCurrentIndex(pair.second);
}

void TfrmCompare::fillCourse()
{
    QList<QPointF> points;
    points.reserve(m_course.size());
    for (int i = 0; i < m_course.size(); ++i) {
        if (m_course[i] >= 0)
            points.append(QPointF(i + 1, m_course[i]));
    }
    srCourse->replace(points);
    // Markers on every sheet while they can still be told apart.
    srCourse->setPointsVisible(m_course.size() <= 60);
    const int count = std::max<int>(m_course.size(), 1);
    const QList<double> ticks = ChartFormat::ticks(1, count);
    const double interval = ticks.size() > 1 ? std::max(1.0, ticks[1] - ticks[0]) : 1.0;
    // The axis makes a label for every tick at each step: the old spacing over a longer range
    // would make one for every sheet.
    m_courseX->setTickInterval(std::max(m_courseX->tickInterval(), interval));
    m_courseX->setRange(0.5, count + 0.5);
    m_courseX->setTickInterval(interval);
}

void TfrmCompare::cbChange()
{
    const int before = cbElotte->currentIndex();
    const int after = cbUtana->currentIndex();
    if (before < 0 || after < 0 || after >= m_readings.size())
        return;
    const SheetComparison comparison(m_readings[before], m_readings[after]);
    stSummary->setText(comparison.summary(m_balancedLabel, m_spreadLabel, m_noReadings, numbers()));
    fillTable(comparison);
    fillPairs(comparison);
    markPair(before, after);
}

void TfrmCompare::fillTable(const SheetComparison &comparison)
{
    const QList<SheetComparison::Row> rows = comparison.rows();
    for (int point = 0; point < rows.size(); ++point) {
        const SheetComparison::Row &row = rows[point];
        grTabla->item(point, ColReadingBefore)
            ->setText(SheetComparison::readingText(row.readingBefore));
        grTabla->item(point, ColReadingAfter)
            ->setText(SheetComparison::readingText(row.readingAfter));
        QTableWidgetItem *before = grTabla->item(point, ColDeviationBefore);
        before->setText(deviationText(row.presentBefore, row.deviationBefore));
        shade(before, row.colourBefore);
        QTableWidgetItem *after = grTabla->item(point, ColDeviationAfter);
        after->setText(deviationText(row.presentAfter, row.deviationAfter));
        shade(after, row.colourAfter);
        grTabla->item(point, ColChange)
            ->setText(row.presentBefore && row.presentAfter
                          ? SheetComparison::changeText(row.change, numbers())
                          : SheetComparison::kMissing);
    }
    fitTable();
}

void TfrmCompare::fillPairs(const SheetComparison &comparison)
{
    const QList<SheetComparison::Row> rows = comparison.rows();
    const QList<QBarSet *> sets = srPairs->barSets();
    for (int point = 0; point < rows.size(); ++point) {
        sets[0]->replace(point, rows[point].deviationBefore);
        sets[1]->replace(point, rows[point].deviationAfter);
    }
}

void TfrmCompare::markPair(int before, int after)
{
    srBefore->clear();
    srAfter->clear();
    if (before < 0 || after < 0 || after >= m_course.size() || before >= m_course.size())
        return;
    if (m_course[before] >= 0)
        srBefore->append(before + 1, m_course[before]);
    if (m_course[after] >= 0)
        srAfter->append(after + 1, m_course[after]);
}
