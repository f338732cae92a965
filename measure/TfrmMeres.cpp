// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/TfrmMeres.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "audio/CueTone.h"
#include "audio/TToneGen.h"
#include "measure/DeviceLink.h"
#include "measure/ImageArea.h"
#include "measure/ReadingsOwner.h"
#include "measure/SystemPorts.h"
#include "records/TfrmKarton.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>

TfrmMeres *frmMeres = nullptr;

namespace {

// Design metrics: the client area inside the 738 x 503 outer frame, and the right
// panel's size in it; anchored controls keep their distances to these edges.
const QSize kDesignFrame(8, 27);
const QSize kDesignPanel(512, 465);
constexpr int kPanelMargin = 38;
constexpr int kRightPanelMargin = 226;
const QColor kHeaderColour(166, 202, 240);
const QStringList kMeridians = {"Lu", "Hc", "Ht", "Si", "Th", "Li",
                                "Sp", "Lv", "Ki", "Bl", "Gb", "St"};

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFrame *raisedPanel(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

void setColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TfrmMeres::TfrmMeres(QWidget *parent)
    : MdiChild(true, parent), m_painter(PointPainter::embeddedPictures())
{
    frmMeres = this;
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11, false));
    buildLeftPanel();
    buildRightPanel();
    resize(QSize(kDesignWidth, kDesignHeight) - kDesignFrame);
    FormCreate();
    ShowIdle();
    Link = new DeviceLink(
        [](const QString &key) { return frmMain->CatalogueText(QStringLiteral("Msg"), key); },
        SystemPorts(frmMain->settingsPath()), this);
    Link->setDeviceText(
        [](const QString &key) { return frmMain->CatalogueText(QStringLiteral("Device"), key); });
    connect(Link, &DeviceLink::valueTextChanged, stValue, &QLabel::setText);
    connect(Link, &DeviceLink::statusTextChanged, frmMain, &TfrmMain::setStatusText);

    setupCueTone();
    connect(bStart, &QPushButton::clicked, this, &TfrmMeres::bStartClick);
    connect(bNext, &QPushButton::clicked, this, &TfrmMeres::bNextClick);
    connect(bPrev, &QPushButton::clicked, this, &TfrmMeres::bPrevClick);
    connect(bSave, &QPushButton::clicked, this, &TfrmMeres::bSaveClick);
    addRunKeys();
    tmrMPont = new QTimer(this);
    tmrMPont->setInterval(100);
    connect(tmrMPont, &QTimer::timeout, this, &TfrmMeres::tmrMPontTimer);
    tmrMPont->start();
}

TfrmMeres::~TfrmMeres() = default;

// Keys a foot switch can send, so that the run needs no mouse while the probe is held.
void TfrmMeres::addRunKeys()
{
    const QList<QPair<QPushButton *, QKeySequence>> keys = {
        {bStart, kStartKey}, {bSave, kSaveKey}, {bPrev, kPrevKey}, {bNext, kNextKey}};
    for (const auto &[button, key] : keys) {
        // Like the Alt keys, only while this window is the one in front.
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
    bStart->setToolTip(
        frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("StartTip")));
    bSave->setToolTip(frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("SaveTip")));
    bPrev->setToolTip(frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("PrevTip")));
    bNext->setToolTip(frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("NextTip")));
}

void TfrmMeres::setupCueTone()
{
    ToneGen = std::make_unique<TToneGen>();
    CueTone::configure(*ToneGen);
}

QString TfrmMeres::calibrationPrompt()
{
    return frmMain->CatalogueText("Msg", "Calibrate");
}

void TfrmMeres::tmrMPontTimer()
{
    tickOn(MeasuringRun::feedOf(stValue->text(), Link->msSinceReading()));
}

void TfrmMeres::tickOn(MeasuringRun::Feed feed)
{
    tmrMPont->stop();
    applyTick(Run.tick(MeasuringRun::readingFromText(stValue->text()), feed));
    tmrMPont->start();
}

void TfrmMeres::applyTick(const MeasuringRun::Tick &tick)
{
    // The idle picture is the same on every tick: drawn once, not ten times a second.
    if (tick.shownPoint >= 0)
        ShowPoint(tick.shownPoint, tick.blinkPhase);
    else if (!m_idleShown)
        ShowIdle();
    if (tick.storedValue) {
        const MeasPoint &point = m_points.point(tick.storedPoint);
        SetCell(point.Side, point.Row, QString::number(*tick.storedValue));
        m_unsaved = true;
    }
    if (tick.playCue)
        ToneGen->Play();
    stLabel->setText(promptText(tick));
}

QString TfrmMeres::promptText(const MeasuringRun::Tick &tick) const
{
    switch (tick.prompt) {
    case MeasuringRun::Prompt::PointLabel:
        return m_points.point(tick.promptPoint).Label;
    case MeasuringRun::Prompt::Release:
        return frmMain->CatalogueText(QStringLiteral("msg"), QStringLiteral("Release"));
    case MeasuringRun::Prompt::Empty:
        break;
    }
    return QString();
}

void TfrmMeres::bStartClick()
{
    const bool confirmed = Dialogs::askOkCancel(this, calibrationPrompt());
    takeKeysBack();
    if (!confirmed)
        return;
    for (int row = 1; row <= 12; ++row) {
        SetCell(1, row, QString());
        SetCell(2, row, QString());
    }
    const bool card = frmKarton && frmKarton->isCardOpen();
    SetOrigin(GridOrigin::ofMeasurement(QDateTime::currentDateTime(),
                                        card ? frmKarton->eID->text() : QString(),
                                        card ? frmKarton->PatientName : QString(),
                                        card ? frmKarton->eSzulDatum->text() : QString()));
    m_unsaved = false;
    Run.start();
}

void TfrmMeres::SetOrigin(const GridOrigin &origin)
{
    Origin = origin;
    emit originChanged();
}

void TfrmMeres::PatientSaved(const QString &id, const QString &name, const QString &birth)
{
    if (id.isEmpty() || Origin.patientId != id)
        return;
    Origin.patientName = name;
    Origin.patientBirth = birth;
    emit originChanged();
}

void TfrmMeres::ShowOwnerIn(MdiChild *window)
{
    const QString title = window->windowTitle();
    QLabel *line = nullptr;
    if (!window->bordered()) {
        line = new QLabel(window);
        line->setObjectName(QStringLiteral("ownerLine"));
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setFont(pixelFont(font().family(), 12, true));
        line->move(4, 0);
        line->hide();
    }
    const QPointer<MdiChild> shown(window);
    const auto show = [this, shown, title, line] {
        if (!shown)
            return;
        const bool hidden = frmMain->namesHidden();
        shown->setWindowTitle(ReadingsOwner::caption(title, Origin, hidden, *frmMain->catalogue()));
        if (!line)
            return;
        line->setText(ReadingsOwner::owner(Origin, hidden, *frmMain->catalogue()));
        line->adjustSize();
        line->setVisible(!Origin.isEmpty());
        line->raise();
    };
    connect(this, &TfrmMeres::originChanged, window, show);
    connect(frmMain, &TfrmMain::namesHiddenChanged, this, show);
    show();
}

void TfrmMeres::bNextClick()
{
    Run.next();
}

void TfrmMeres::bPrevClick()
{
    Run.prev();
}

void TfrmMeres::bSaveClick()
{
    if (frmKarton && frmKarton->SaveMeasurementAsSheet())
        m_unsaved = false;
    takeKeysBack();
}

// The run goes on by keys after a dialog, also where no window manager hands the keyboard
// back to the program's window when the dialog closes.
void TfrmMeres::takeKeysBack()
{
    window()->activateWindow();
}

void TfrmMeres::DisconnectPort()
{
    Link->DisconnectPort();
}

void TfrmMeres::buildLeftPanel()
{
    GrPanel = raisedPanel(this);
    GrPanel->setGeometry(0, 8, 217, kDesignHeight - kPanelMargin);

    stValue = new QLabel(QStringLiteral("- - -"), GrPanel);
    stValue->setGeometry(16, 16, 185, 89);
    stValue->setAlignment(Qt::AlignCenter);
    stValue->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    stValue->setFont(pixelFont(QStringLiteral("Verdana"), 64, true));
    setColours(stValue, Qt::black, Qt::red);

    buildGrid();
}

void TfrmMeres::buildGrid()
{
    grMeres = new QTableWidget(13, 3, GrPanel);
    grMeres->setGeometry(24, 128, 169, 289);
    grMeres->horizontalHeader()->hide();
    grMeres->verticalHeader()->hide();
    grMeres->horizontalHeader()->setMinimumSectionSize(1);
    grMeres->verticalHeader()->setMinimumSectionSize(1);
    grMeres->horizontalHeader()->setDefaultSectionSize(55);
    grMeres->verticalHeader()->setDefaultSectionSize(21);
    grMeres->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grMeres->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grMeres->setFrameStyle(QFrame::Box | QFrame::Plain);
    grMeres->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grMeres->setSelectionMode(QAbstractItemView::SingleSelection);
    grMeres->setShowGrid(true);
    // One Tab stop: the arrow keys move within the grid.
    grMeres->setTabKeyNavigation(false);
    for (int row = 0; row < 13; ++row) {
        for (int col = 0; col < 3; ++col) {
            auto *item = new QTableWidgetItem();
            if (row == 0 || col == 0) {
                item->setBackground(kHeaderColour);
                item->setFlags(Qt::ItemIsEnabled);
            }
            grMeres->setItem(row, col, item);
        }
    }
}

void TfrmMeres::buildRightPanel()
{
    Panel1 = raisedPanel(this);
    Panel1->setGeometry(218, 8, kDesignWidth - kRightPanelMargin, kDesignHeight - kPanelMargin);

    Bevel1 = new QFrame(Panel1);
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setGeometry(14, 6, 483, 323);
    Image1 = new ImageArea(Panel1);
    Image1->setGeometry(16, 8, PointMap::kPictureWidth, PointMap::kPictureHeight);

    stLabel = new QLabel(Panel1);
    stLabel->setGeometry(16, 344, 477, 25);
    stLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    stLabel->setFont(pixelFont(font().family(), 16, true));

    bStart = addButton(QStringLiteral("Start"), QRect(24, 407, 145, 33));
    bStart->setFont(pixelFont(font().family(), 13, true));
    bSave = addButton(QStringLiteral("Save"), QRect(176, 407, 113, 33));
    bPrev = addButton(QStringLiteral("Prev"), QRect(298, 407, 91, 33));
    bNext = addButton(QStringLiteral("Next"), QRect(396, 407, 89, 33));
}

QPushButton *TfrmMeres::addButton(const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, Panel1);
    button->setGeometry(geometry);
    return button;
}

void TfrmMeres::FormCreate()
{
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Meas")));
    for (QPushButton *button : {bStart, bSave, bPrev, bNext})
        button->setText(frmMain->CatalogueText(QStringLiteral("Caption"), button->text()));
    Run.PointIndex = -1;
    Run.MeasState = MeasuringRun::Stopped;
    m_points = PointMap::read(frmMain->catalogue());
    grMeres->item(0, 1)->setText(
        frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Left")));
    grMeres->item(0, 2)->setText(
        frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Right")));
    for (int row = 1; row <= 12; ++row)
        grMeres->item(row, 0)->setText(kMeridians[row - 1]);
}

QSize TfrmMeres::outerSize() const
{
    if (const QMdiSubWindow *sub = subWindow())
        return sub->size();
    return size() + kDesignFrame;
}

void TfrmMeres::FormResize()
{
    const QSize outer = outerSize();
    const int height = outer.height() - kPanelMargin;
    GrPanel->resize(GrPanel->width(), height);
    Panel1->resize(outer.width() - kRightPanelMargin, height);

    // Anchored controls keep their design distances to the panel's right and bottom.
    const int dx = Panel1->width() - kDesignPanel.width();
    const int dy = Panel1->height() - kDesignPanel.height();
    stLabel->setGeometry(16, 344, 477 + dx, 25);
    bStart->move(24, 407 + dy);
    bSave->move(176, 407 + dy);
    bPrev->move(298 + dx, 407 + dy);
    bNext->move(396 + dx, 407 + dy);
}

void TfrmMeres::resizeEvent(QResizeEvent *event)
{
    MdiChild::resizeEvent(event);
    FormResize();
}

void TfrmMeres::showEvent(QShowEvent *event)
{
    MdiChild::showEvent(event);
    if (m_sized)
        return;
    m_sized = true;
    if (QMdiSubWindow *sub = subWindow())
        sub->resize(kDesignWidth, kDesignHeight);
}

void TfrmMeres::ShowPoint(int index, int blinkPhase)
{
    if (index < 0 || index >= PointMap::kPointCount) {
        ShowIdle();
        return;
    }
    m_idleShown = false;
    m_painter.paintPoint(Image1->image(), m_points, index, blinkPhase);
    Image1->update();
    const MeasPoint &point = m_points.point(index);
    if (point.hasCell()) {
        grMeres->setCurrentCell(point.Row, point.Side);
        return;
    }
    grMeres->clearSelection();
    grMeres->setCurrentItem(nullptr);
}

void TfrmMeres::ShowIdle()
{
    m_painter.paintIdle(Image1->image());
    Image1->update();
    m_idleShown = true;
}

QString TfrmMeres::Cell(int col, int row) const
{
    const QTableWidgetItem *item = grMeres->item(row, col);
    return item ? item->text() : QString();
}

void TfrmMeres::SetCell(int col, int row, const QString &text)
{
    if (col < 1 || col > 2 || row < 1 || row > 12)
        return;
    grMeres->item(row, col)->setText(text);
}
