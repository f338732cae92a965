// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmMain.h"

#include "app/CatalogueChoice.h"
#include "app/Dialogs.h"
#include "app/MdiChild.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SupportLog.h"
#include "app/TfrmStart.h"
#include "app/WindowPlace.h"
#include "diagrams/Evaluation.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmHusbWife.h"
#include "diagrams/TfrmPrint.h"
#include "diagrams/TfrmUSin.h"
#include "measure/TfrmMeres.h"
#include "platform/FileError.h"
#include "records/BackupActions.h"
#include "records/DatabaseVersion.h"
#include "records/TfrmKarton.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

TfrmMain *frmMain = nullptr;

namespace {
constexpr int kToolBarHeight = 49;
constexpr int kButtonHeight = 39;
constexpr int kWindowButtonWidth = 42;
constexpr int kCommandButtonWidth = 40;
constexpr int kSeparatorWidth = 8;
constexpr int kStatusBarHeight = 19;
constexpr int kStartDelayMs = 1000;
} // namespace

TfrmMain::TfrmMain(const QString &programPath, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_programPath(programPath), m_language(CatalogueChoice::language(programPath)),
      m_catalogue(std::make_unique<Catalogue>(CatalogueChoice::path(programPath), m_language))
{
    frmMain = this;
    setWindowTitle(QStringLiteral("Sorvendi"));
    setMinimumSize(Settings::kMinWidth, Settings::kMinHeight);
    resize(Settings::kMinWidth, Settings::kMinHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    buildToolBar();
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(palette().dark());
    setCentralWidget(m_mdiArea);

    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setFixedHeight(kStatusBarHeight);

    m_start = new QTimer(this);
    m_start->setSingleShot(true);
    // A coarse timer may be up to 50 ms late, which the splash's second would only lengthen.
    m_start->setTimerType(Qt::PreciseTimer);
    m_start->setInterval(kStartDelayMs);
    connect(m_start, &QTimer::timeout, this, &TfrmMain::StartTimer);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (!sub)
            return;
        if (QToolButton *button = buttonOf(qobject_cast<MdiChild *>(sub->widget())))
            button->setChecked(true);
    });
}

TfrmMain::~TfrmMain()
{
    // The working windows go with the frame; nobody may reach them after this.
    frmKarton = nullptr;
    frmMeres = nullptr;
    frmHusbWife = nullptr;
    frmUSin = nullptr;
    frmBar = nullptr;
    frmCirc = nullptr;
    frmCirc1 = nullptr;
    frmCirc2 = nullptr;
    frmCompare = nullptr;
    if (frmMain == this)
        frmMain = nullptr;
}

QString TfrmMain::CatalogueText(const QString &section, const QString &key) const
{
    if (!m_catalogue)
        return Catalogue(QString(), m_language).text(section, key);
    return m_catalogue->text(section, key);
}

QString TfrmMain::settingsPath() const
{
    return ProgramFiles::settingsPath(m_programPath);
}

QString TfrmMain::statusText() const
{
    return m_status->text();
}

void TfrmMain::setStatusText(const QString &text)
{
    m_status->setText(text);
    // A port's hint may be longer than the window is wide.
    m_status->setToolTip(text);
}

void TfrmMain::addSeparator()
{
    auto *gap = new QWidget(m_toolBar);
    gap->setFixedSize(kSeparatorWidth, kButtonHeight);
    m_toolBar->addWidget(gap);
}

QToolButton *TfrmMain::addButton(const QString &hint, const QString &icon, int width, bool grouped)
{
    auto *button = new QToolButton(m_toolBar);
    button->setObjectName(hint);
    button->setFixedSize(width, kButtonHeight);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(icon)));
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setCheckable(grouped);
    if (grouped)
        m_windowButtons->addButton(button);
    button->setToolTip(CatalogueText(QStringLiteral("Title"), hint));
    m_toolBar->addWidget(button);
    return button;
}

void TfrmMain::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setFixedHeight(kToolBarHeight);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar { border: 1px solid palette(mid); "
                                            "spacing: 0px; padding: 4px 0px; }"));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_windowButtons = new QButtonGroup(this);
    m_windowButtons->setExclusive(true);

    addSeparator();
    sbKarton =
        addButton(QStringLiteral("Cards"), QStringLiteral("cards"), kWindowButtonWidth, true);
    addSeparator();
    sbMeres = addButton(QStringLiteral("Meas"), QStringLiteral("meas"), kWindowButtonWidth, true);
    addSeparator();
    sbBar = addButton(QStringLiteral("DiagBar"), QStringLiteral("bar"), kWindowButtonWidth, true);
    sbCirc =
        addButton(QStringLiteral("DiagCirc"), QStringLiteral("circ"), kWindowButtonWidth, true);
    sbUSin =
        addButton(QStringLiteral("DiagUSin"), QStringLiteral("usin"), kWindowButtonWidth, true);
    sbHusbWife = addButton(QStringLiteral("DiagHusbWife"), QStringLiteral("husbwife"),
                           kWindowButtonWidth, true);
    sbCirc1 =
        addButton(QStringLiteral("DiagCirc1"), QStringLiteral("circ1"), kWindowButtonWidth, true);
    sbCirc2 =
        addButton(QStringLiteral("DiagCirc2"), QStringLiteral("circ2"), kWindowButtonWidth, true);
    addSeparator();
    sbPrint =
        addButton(QStringLiteral("Nyomtatás"), QStringLiteral("print"), kCommandButtonWidth, false);
    addSeparator();
    sbExit = addButton(QStringLiteral("Exit"), QStringLiteral("exit"), kCommandButtonWidth, false);
    // The exit button's hint is translated like the others but never shown as a tool tip.
    sbExit->setWhatsThis(sbExit->toolTip());
    sbExit->setToolTip(QString());
    sbKarton->setChecked(true);

    connect(sbPrint, &QToolButton::clicked, this, &TfrmMain::sbPrintClick);
    connect(sbExit, &QToolButton::clicked, this, &TfrmMain::sbExitClick);
    addKeys();
}

// Every window of the tool bar, and printing, without the mouse: Ctrl+1 to Ctrl+8 in the
// tool bar's order, Ctrl+P. The tool tips name the keys.
void TfrmMain::addKeys()
{
    const QList<QToolButton *> windows = {sbKarton, sbMeres,    sbBar,   sbCirc,
                                          sbUSin,   sbHusbWife, sbCirc1, sbCirc2};
    for (int i = 0; i < windows.size(); ++i)
        addKey(windows[i], QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
    addKey(sbPrint, kPrintKey);
}

void TfrmMain::addKey(QToolButton *button, const QKeySequence &key)
{
    auto *shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(button->toolTip(), key.toString(QKeySequence::NativeText)));
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (frmStart) {
        frmStart->show();
        frmStart->raise();
    }
    m_start->start();
}

void TfrmMain::addChild(MdiChild *child, QToolButton *button)
{
    Qt::WindowFlags flags = Qt::SubWindow;
    if (!child->bordered())
        flags |= Qt::FramelessWindowHint;
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(child, flags);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    m_children.append({child, button});
    // The comparison window has no tool-bar button; the cards window opens it.
    if (button)
        connect(button, &QToolButton::clicked, this, [this, child] { bringToFront(child); });
    sub->show();
}

void TfrmMain::createChildren()
{
    addChild(frmKarton = new TfrmKarton(), sbKarton);
    addChild(frmMeres = new TfrmMeres(), sbMeres);
    addChild(frmHusbWife = new TfrmHusbWife(), sbHusbWife);
    addChild(frmUSin = new TfrmUSin(), sbUSin);
    addChild(frmBar = new TfrmBar(), sbBar);
    addChild(frmCirc = new TfrmCirc(), sbCirc);
    addChild(frmCirc1 = new TfrmCirc1(), sbCirc1);
    addChild(frmCirc2 = new TfrmCirc2(), sbCirc2);
    for (MdiChild *window : std::initializer_list<MdiChild *>{frmMeres, frmHusbWife, frmUSin,
                                                              frmBar, frmCirc, frmCirc1, frmCirc2})
        frmMeres->ShowOwnerIn(window);
}

QToolButton *TfrmMain::buttonOf(MdiChild *child) const
{
    for (const auto &entry : m_children) {
        if (entry.first == child)
            return entry.second;
    }
    return nullptr;
}

void TfrmMain::bringToFront(MdiChild *child)
{
    QMdiSubWindow *sub = child ? child->subWindow() : nullptr;
    if (!sub)
        return;
    if (sub->isMinimized())
        sub->showNormal();
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    sub->raise();
    if (QToolButton *button = buttonOf(child))
        button->setChecked(true);
}

void TfrmMain::applySettings()
{
    const Settings settings = Settings::load(settingsPath());
    QStringList damaged = settings.damagedSiteFiles;
    if (settings.damaged)
        damaged.prepend(settingsPath());
    if (m_catalogue->isDamaged())
        damaged.prepend(m_catalogue->path());
    for (const QString &path : damaged) {
        SupportLog::write(QStringLiteral("damaged file, not read: ") + path);
        Dialogs::error(this, CatalogueText(QStringLiteral("Msg"), QStringLiteral("FileDamaged"))
                                 .replace(QLatin1String("%s"), path));
    }
    const QRect saved(settings.left, settings.top, settings.width, settings.height);
    const QScreen *screen = QGuiApplication::screenAt(saved.center());
    if (!screen)
        screen = this->screen();
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect place = WindowPlace::fitted(saved, frame, screen->availableGeometry());
    setMinimumSize(minimumSize().boundedTo(place.size()));
    move(place.topLeft());
    resize(place.size());
    DBPath = settings.dbPath;
    m_namesHidden = settings.hideNames;
    // An installed package cannot make the folder in every home, so the first start does.
    if (!settings.dbPathStored)
        ProgramFiles::createDatabase(DBPath);
    SupportLog::write(QStringLiteral("start: Tavimer %1, settings %2, catalogue %3, database %4")
                          .arg(QCoreApplication::applicationVersion(), settingsPath(),
                               m_catalogue->path(), DBPath));
    if (!QDir(DBPath).exists()) {
        SupportLog::write(QStringLiteral("database folder missing: ") + DBPath);
        const QString message =
            CatalogueText(QStringLiteral("Msg"), QStringLiteral("DBPathNotExists"));
        Dialogs::error(this, QString(message).replace(QLatin1String("%s"), DBPath));
    } else {
        recordDatabaseVersion();
    }
    ArcPath = ProgramFiles::archivePath(DBPath);
}

// Workstations of several versions may share the folder; the older ones are told once.
void TfrmMain::recordDatabaseVersion()
{
    const QString mine = QCoreApplication::applicationVersion();
    QString failure;
    const QString newer = DatabaseVersion::update(DBPath, mine, &failure);
    if (!failure.isEmpty())
        SupportLog::write(QStringLiteral("database version not recorded: ") + failure);
    if (newer.isEmpty())
        return;
    SupportLog::write(
        QStringLiteral("database folder also used by Tavimer %1; this is %2").arg(newer, mine));
    if (DatabaseVersion::tellOnce(settingsPath(), newer))
        Dialogs::information(this,
                             CatalogueText(QStringLiteral("Msg"), QStringLiteral("NewerVersion"))
                                 .replace(QLatin1String("%1"), newer)
                                 .replace(QLatin1String("%2"), mine));
}

void TfrmMain::setNamesHidden(bool hide)
{
    m_namesHidden = hide;
    emit namesHiddenChanged(hide);
    // The switch holds for this run even when the settings file cannot keep it.
    FileError::clear();
    if (!Settings::saveHideNames(settingsPath(), hide))
        Dialogs::error(this, settingsWriteError());
}

QString TfrmMain::settingsWriteError() const
{
    QString message =
        CatalogueText("Msg", "SettingsWriteErr").replace(QLatin1String("%s"), settingsPath());
    if (!FileError::last().isEmpty())
        message += QLatin1Char('\r') + FileError::last();
    return message;
}

void TfrmMain::StartTimer()
{
    m_start->stop();
    if (frmStart)
        frmStart->ShowStatus(CatalogueText("Main", "CreateForms"));
    createChildren();
    applySettings();
    frmKarton->subWindow()->showMaximized();
    bringToFront(frmKarton);
    // The comparison window, opened only from a card, is made while the last message stands.
    const auto makeCompare = [this] {
        addChild(frmCompare = new TfrmCompare(), nullptr);
        bringToFront(frmKarton);
    };
    if (frmStart) {
        frmStart->ShowStatus(CatalogueText("Main", "InitDone"), makeCompare);
        frmStart->hide();
    } else {
        makeCompare();
    }
    m_ready = true;
    emit ready();
}

bool TfrmMain::childrenMayClose()
{
    for (const auto &entry : m_children) {
        if (!entry.first->FormCloseQuery())
            return false;
    }
    return true;
}

void TfrmMain::Evaluate()
{
    Evaluation::Cells cells;
    for (int m = 0; m < Evaluation::kMeridians; ++m) {
        for (int s = 0; s < Evaluation::kSides; ++s)
            cells[m * Evaluation::kSides + s] = frmMeres ? frmMeres->Cell(s + 1, m + 1) : QString();
    }
    const Evaluation::Result result = Evaluation::evaluate(cells);
    std::copy(&result.Deviation[0][0], &result.Deviation[0][0] + Evaluation::kCells,
              &Deviation[0][0]);
    std::copy(&result.ClassColor[0][0], &result.ClassColor[0][0] + Evaluation::kCells,
              &ClassColor[0][0]);
}

void TfrmMain::sbPrintClick()
{
    QMdiSubWindow *sub = m_mdiArea->activeSubWindow();
    if (!sub || !sub->widget() || !frmPrint)
        return;
    frmPrint->PrintDiagram(sub->widget(), frmKarton ? frmKarton->PatientLabel() : QString());
}

void TfrmMain::sbExitClick()
{
    // An unsaved measurement's question, asked by the close, stands for the exit question.
    const bool measurementAsks = frmMeres && frmMeres->HasUnsavedReadings();
    if (measurementAsks || BackupActions::askExit(this))
        close();
}

void TfrmMain::EndWithoutQuestions()
{
    m_quiet = true;
    close();
    // Also ends the loop of a dialog that happens to be open.
    QCoreApplication::quit();
}

// The questions before the program ends, asked once each; false keeps it running.
bool TfrmMain::mayEnd()
{
    return m_quiet || (askSaveMeasurement() && childrenMayClose());
}

bool TfrmMain::askSaveMeasurement()
{
    if (!frmMeres || !frmMeres->HasUnsavedReadings())
        return true;
    bringToFront(frmMeres);
    switch (Dialogs::askYesNoCancel(
        this, CatalogueText(QStringLiteral("Msg"), QStringLiteral("AskSaveMeas")))) {
    case QMessageBox::Yes:
        // A save that did not happen (no patient chosen, a failed write) keeps the program open.
        frmMeres->bSaveClick();
        return !frmMeres->HasUnsavedReadings();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (!m_ready) {
        closeBeforeReady();
        event->accept();
        return;
    }
    if (!mayEnd()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

// Nothing has been read yet, so nothing is written, and no window is made any more.
void TfrmMain::closeBeforeReady()
{
    m_closed = true;
    m_start->stop();
    SupportLog::write(QStringLiteral("end before start-up finished: Tavimer %1, settings %2")
                          .arg(QCoreApplication::applicationVersion(), settingsPath()));
    if (frmStart)
        frmStart->close();
}

void TfrmMain::FormClose()
{
    m_closed = true;
    if (frmMeres)
        frmMeres->DisconnectPort();
    if (frmKarton && frmKarton->isCardOpen()) {
        // Ending without questions drops a card's unsaved edits, as the answer No would.
        if (m_quiet)
            frmKarton->bSave->setEnabled(false);
        frmKarton->bBezarClick();
    }
    Settings settings;
    settings.top = y();
    settings.left = x();
    settings.width = width();
    settings.height = height();
    settings.dbPath = DBPath;
    FileError::clear();
    if (!settings.save(settingsPath())) {
        // The user must still be able to end the program, so it ends after the message.
        const QString message = settingsWriteError();
        SupportLog::write(QStringLiteral("end: Tavimer %1, settings not written: %2")
                              .arg(QCoreApplication::applicationVersion(), message));
        if (m_quiet)
            qWarning("%s", qUtf8Printable(message));
        else
            Dialogs::error(this, message);
        return;
    }
    SupportLog::write(QStringLiteral("end: Tavimer %1, settings %2%3")
                          .arg(QCoreApplication::applicationVersion(), settingsPath(),
                               m_quiet ? QStringLiteral(", ended by the system") : QString()));
    m_catalogue.reset();
}
