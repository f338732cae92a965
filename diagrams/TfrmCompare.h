// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"
#include "diagrams/SheetComparison.h"

#include <QList>

class QBarSeries;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTableWidget;
class QValueAxis;

// Two sheets of the open card before and after a treatment, and the balanced points of
// every sheet of the card. It follows the cards window: another card, a closed card or a
// changed list of sheets refreshes it.
class TfrmCompare : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmCompare(QWidget *parent = nullptr);

    // Compares the sheet selected on the sheet page with the one before it, and comes forward.
    void Open();
    // Reads the open card's sheets again. A new card or a changed number of sheets takes the
    // default pair; otherwise the chosen pair stays.
    void Refresh(bool defaultPair = false);
    // The cards window's notification: refreshed at once when seen, else when next activated.
    void CardChanged();

    QComboBox *cbElotte = nullptr;
    QComboBox *cbUtana = nullptr;
    QLabel *stSummary = nullptr;
    QTableWidget *grTabla = nullptr;
    QChartView *chPairs = nullptr;
    QBarSeries *srPairs = nullptr;
    QChartView *chCourse = nullptr;
    QLineSeries *srCourse = nullptr;
    QScatterSeries *srBefore = nullptr;
    QScatterSeries *srAfter = nullptr;

private:
    QString text(const char *key) const;
    QWidget *withLegend(QWidget *chart);
    QWidget *buildChoice();
    void buildTable();
    void fitTable();
    void buildPairChart();
    void buildCourseChart();
    void cbChange();
    void showEmpty();
    void fillSheetLists(const QList<KLRecord> &sheets, QPair<int, int> pair);
    void fillCourse();
    void fillTable(const SheetComparison &comparison);
    void fillPairs(const SheetComparison &comparison);
    void markPair(int before, int after);
    void refreshIfSeen();

    QString m_path;
    QList<SheetComparison::Readings> m_readings;
    QList<int> m_course;
    QValueAxis *m_courseX = nullptr;
    QString m_balancedLabel;
    QString m_spreadLabel;
    QString m_noSheets;
    QString m_noReadings;
    bool m_dirty = true;
    bool m_pending = false;
};

extern TfrmCompare *frmCompare;
