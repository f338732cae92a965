// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"
#include "measure/GridOrigin.h"
#include "measure/MeasuringRun.h"
#include "measure/PointMap.h"
#include "measure/PointPainter.h"

#include <QKeySequence>
#include <memory>

class ImageArea;
class DeviceLink;
class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class TToneGen;

// The measuring window: live value, result grid, the body picture with the points,
// the prompt line and the run's buttons.
class TfrmMeres : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmMeres(QWidget *parent = nullptr);
    ~TfrmMeres() override;

    // The result grid as the rest of the program sees it: column 1 left, 2 right,
    // rows 1 to 12 the meridians; row 0 and column 0 are headings. Only value cells
    // can be written; other cells and cells outside the grid are left alone.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);

    void DisconnectPort();

    // True while the grid holds readings of a run that are not saved as a sheet; a sheet
    // loaded into the grid is saved by definition.
    bool HasUnsavedReadings() const { return m_unsaved; }
    void MarkReadingsSaved() { m_unsaved = false; }

    const PointMap &Points() const { return m_points; }
    // One tick's drawing: the point at index (0 is point 1) on its picture, or the
    // idle picture when no point is active.
    void ShowPoint(int index, int blinkPhase);
    void ShowIdle();

    // Outer size as laid out at design time.
    static constexpr int kDesignWidth = 738;
    static constexpr int kDesignHeight = 503;

    // One measuring tick: read the live value, advance the run, show what it says.
    void tmrMPontTimer();
    // The same on the displayed reading with its feed given.
    void tickOn(MeasuringRun::Feed feed);
    void bStartClick();
    void bNextClick();
    void bPrevClick();
    void bSaveClick();

    static QString calibrationPrompt();

    // The run's keys; the buttons' tool tips name them.
    static inline const QKeySequence kStartKey{Qt::Key_F5};
    static inline const QKeySequence kSaveKey{Qt::CTRL | Qt::Key_S};
    static inline const QKeySequence kPrevKey{Qt::Key_PageUp};
    static inline const QKeySequence kNextKey{Qt::Key_PageDown};

    MeasuringRun Run;
    // Whose readings the grid holds; set with every new content of the grid.
    GridOrigin Origin;
    void SetOrigin(const GridOrigin &origin);
    // A card's name or birth date as last saved, for readings that belong to it.
    void PatientSaved(const QString &id, const QString &name, const QString &birth);
    // Keeps the window's title followed by the owner of the readings; a window without a
    // frame shows the owner on a line of its own.
    void ShowOwnerIn(MdiChild *window);
    QTimer *tmrMPont = nullptr;
    std::unique_ptr<TToneGen> ToneGen;

    QFrame *GrPanel = nullptr;
    QLabel *stValue = nullptr;
    DeviceLink *Link = nullptr;
    QTableWidget *grMeres = nullptr;
    QFrame *Panel1 = nullptr;
    QFrame *Bevel1 = nullptr;
    ImageArea *Image1 = nullptr;
    QLabel *stLabel = nullptr;
    QPushButton *bStart = nullptr;
    QPushButton *bSave = nullptr;
    QPushButton *bPrev = nullptr;
    QPushButton *bNext = nullptr;

signals:
    void originChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildLeftPanel();
    void buildRightPanel();
    void buildGrid();
    QPushButton *addButton(const QString &caption, const QRect &geometry);
    void FormCreate();
    void FormResize();
    QSize outerSize() const;
    void applyTick(const MeasuringRun::Tick &tick);
    QString promptText(const MeasuringRun::Tick &tick) const;
    void setupCueTone();
    void addRunKeys();
    void takeKeysBack();

    PointMap m_points;
    PointPainter m_painter;
    bool m_sized = false;
    bool m_unsaved = false;
    bool m_idleShown = false;
};

extern TfrmMeres *frmMeres;
