// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Catalogue.h"

#include <QColor>
#include <QKeySequence>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <memory>

class MdiChild;
class QButtonGroup;
class QLabel;
class QMdiArea;
class QTimer;
class QToolBar;
class QToolButton;

// The frame: tool bar, working windows, status bar, settings and the catalogue.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(const QString &programPath, QWidget *parent = nullptr);
    ~TfrmMain() override;

    QString CatalogueText(const QString &section, const QString &key) const;
    const Catalogue *catalogue() const { return m_catalogue.get(); }

    QString settingsPath() const;
    QString statusText() const;
    void setStatusText(const QString &text);

    // Brings a working window to the front and shows its tool-bar button pressed.
    void bringToFront(MdiChild *child);
    QMdiArea *mdiArea() const { return m_mdiArea; }
    QTimer *startTimer() const { return m_start; }
    bool isReady() const { return m_ready; }

    QString DBPath;
    QString ArcPath;

    // Patients' names kept off the screen where others in the room could read them.
    bool namesHidden() const { return m_namesHidden; }
    // Kept in the settings at once, and every caption follows.
    void setNamesHidden(bool hide);

    // Evaluates the measuring window's grid as it is now; the diagrams call it at every paint.
    void Evaluate();
    double Deviation[12][2] = {};
    quint32 ClassColor[12][2] = {};

    QToolButton *sbKarton = nullptr;
    QToolButton *sbMeres = nullptr;
    QToolButton *sbBar = nullptr;
    QToolButton *sbCirc = nullptr;
    QToolButton *sbUSin = nullptr;
    QToolButton *sbHusbWife = nullptr;
    QToolButton *sbCirc1 = nullptr;
    QToolButton *sbCirc2 = nullptr;
    QToolButton *sbPrint = nullptr;
    QToolButton *sbExit = nullptr;
    static inline const QKeySequence kPrintKey{Qt::CTRL | Qt::Key_P};

signals:
    void ready();
    void namesHiddenChanged(bool hide);

public slots:
    void sbPrintClick();
    void sbExitClick();
    // Ending asked for by the system (logout, shut-down, Ctrl+C): the close box's shut-down
    // without any question, since nobody may be there to answer it.
    void EndWithoutQuestions();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolBar();
    void addKeys();
    void addKey(QToolButton *button, const QKeySequence &key);
    QToolButton *addButton(const QString &hint, const QString &icon, int width, bool grouped);
    void addSeparator();
    void createChildren();
    void addChild(MdiChild *child, QToolButton *button);
    void applySettings();
    void recordDatabaseVersion();
    void StartTimer();
    bool childrenMayClose();
    bool mayEnd();
    bool askSaveMeasurement();
    void closeBeforeReady();
    void FormClose();
    QString settingsWriteError() const;
    QToolButton *buttonOf(MdiChild *child) const;

    QString m_programPath;
    QString m_language;
    std::unique_ptr<Catalogue> m_catalogue;
    QToolBar *m_toolBar = nullptr;
    QButtonGroup *m_windowButtons = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_start = nullptr;
    QList<QPair<MdiChild *, QToolButton *>> m_children;
    bool m_shown = false;
    bool m_ready = false;
    bool m_closed = false;
    bool m_namesHidden = false;
    bool m_quiet = false;
};

extern TfrmMain *frmMain;
