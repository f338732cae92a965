// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/MdiChild.h"
#include "records/CardQuestions.h"
#include "records/CardSession.h"
#include "records/KLRecord.h"

#include <QDateTime>
#include <QList>
#include <QMessageBox>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SheetTabBar;
class QTabWidget;

// The patient card: personal data, anamnesis, complaints and treatment sheets of one
// card at a time. The files are read and written by the records classes.
class TfrmKarton : public MdiChild
{
    Q_OBJECT

public:
    explicit TfrmKarton(QWidget *parent = nullptr);

    // Name of the open card as of its last opening or saving; empty when none is open.
    QString PatientName;
    // Set while the sheet fields are filled, so that filling them is no change.
    bool Loading = false;

    bool isCardOpen() const;
    bool FormCloseQuery() override;
    bool AskSaveCard();
    bool SaveCard();
    void LoadCard(const QString &id);
    void ShowPatientInCaption(const QString &name);
    // The open card's name, id and birth date as prints head it; empty when none is open.
    QString PatientLabel() const;
    // True when the grid was appended as a new sheet.
    bool SaveMeasurementAsSheet();

    void bUjbetegClick();
    void bKeresClick();
    void bSaveClick();
    void bBezarClick();
    void bTorolClick();
    void bArcClick();
    // The open card's change log and earlier versions; a saved card only.
    void bHistoryClick();
    // Reads the open card again after its files were changed on purpose (a version put back).
    void ShowCardAsStored();
    // Hands the saved record out as a file; the edits are saved or dropped first.
    void bExportClick();

    void KezelolapokShow();
    void LapokChange();
    bool SaveSheetHeader();
    void bLoadKLClick();
    void bDeleteKLClick();
    void bReportClick();
    void bCompareClick();

    QString sheetPath() const;
    // The selected sheet, counted from 0; -1 when the card has none.
    int sheetIndex() const { return m_sheet; }
    // Today's date and the time of a new sheet come from here.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // How long an operation waits for a card that another holder keeps locked.
    void setLockWait(int ms)
    {
        m_lockWaitMs = ms;
        m_session.setLockWait(ms);
    }
    // The sheets as the tabs show them.
    const QList<KLRecord> &shownSheets() const { return m_session.shownSheets(); }

    QPushButton *bUjbeteg = nullptr;
    QPushButton *bKeres = nullptr;
    QPushButton *bSave = nullptr;
    QPushButton *bBezar = nullptr;
    QPushButton *bTorol = nullptr;
    QPushButton *bArc = nullptr;
    QPushButton *bHistory = nullptr;
    QPushButton *bExport = nullptr;
    QWidget *pnlButtons = nullptr;
    QTabWidget *Karton = nullptr;

    QLineEdit *eNev = nullptr;
    QLineEdit *eSzulDatum = nullptr;
    QLineEdit *eNeme = nullptr;
    QLineEdit *eLanyNev = nullptr;
    QLineEdit *eAnyja = nullptr;
    QLineEdit *eHelyseg = nullptr;
    QLineEdit *eIrsz = nullptr;
    QLineEdit *eCim = nullptr;
    QLineEdit *eTel = nullptr;
    QLineEdit *eFogl = nullptr;
    QLineEdit *eTAJ = nullptr;
    QLineEdit *eTMag = nullptr;
    QLineEdit *eSuly = nullptr;
    QLineEdit *eDiagn = nullptr;
    QLineEdit *eBNO = nullptr;
    QLineEdit *eID = nullptr;
    QLineEdit *eDatum = nullptr;
    QLineEdit *eTTIdx = nullptr;
    QPlainTextEdit *mAnm = nullptr;
    QPlainTextEdit *mPan = nullptr;

    QWidget *Lapok = nullptr;
    SheetTabBar *LapokTabs = nullptr;
    QLineEdit *eIdopont = nullptr;
    QLineEdit *eHelyszin = nullptr;
    QPlainTextEdit *mStatusz = nullptr;
    QLineEdit *eEgyeb = nullptr;
    QPushButton *bDeleteKL = nullptr;
    QPushButton *bLoadKL = nullptr;
    QPushButton *bReport = nullptr;
    QPushButton *bCompare = nullptr;

    static constexpr int kSheetPage = 3;

signals:
    // Another card, no card, or the card's sheets have been listed again.
    void sheetsChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void connectChanges();
    void FormResize();
    void eNevChange();
    void eTMagChange();
    void mAnmChange();
    void KartonChanging(int page);
    void LapokChanging(int tab);
    void showPage(int page);
    void setCurrentSheet(int tab);
    void setCardState(bool open);
    void enableSavedCardButtons();
    void openCard(const QString &id);
    void greetOnBirthday();
    bool saveNewCardFirst();
    bool mayStoreGridHere();
    bool saveFailed(CardSession::Outcome outcome);
    bool sheetsAsShown(CardSession::Outcome outcome);
    // The selected sheet as stored, when the sheet file is as the tabs show it.
    std::optional<KLRecord> readSelectedSheet();
    QDate today() const { return m_clock().date(); }
    void newSession();
    void reloadCard();

    std::function<QDateTime()> m_clock;
    int m_lockWaitMs = CardLock::kWaitMs;
    CardSession m_session;
    CardQuestions m_ask{this, m_session};
    // The last save left the edits unsaved on purpose (card in use, question cancelled).
    bool m_saveDeferred = false;
    int m_page = 0;
    int m_sheet = -1;
};

extern TfrmKarton *frmKarton;
