// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TfrmKarton.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmPrint.h"
#include "measure/ReadingsOwner.h"
#include "measure/TfrmMeres.h"
#include "records/CardText.h"
#include "records/ExportActions.h"
#include "records/KartonFields.h"
#include "records/KartonLayout.h"
#include "records/PatientDisplayName.h"
#include "records/RecordDates.h"
#include "records/SheetTabBar.h"
#include "records/TfrmArc.h"
#include "records/TfrmFind.h"
#include "records/TfrmHistory.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

TfrmKarton *frmKarton = nullptr;

namespace {
constexpr int kMargin = 8;
constexpr int kHeightAllowance = 38;
constexpr int kWidthAllowance = 131;

using Outcome = CardSession::Outcome;

QString msg(const char *key)
{
    return frmMain->CatalogueText(QStringLiteral("Msg"), QLatin1String(key));
}
} // namespace

TfrmKarton::TfrmKarton(QWidget *parent)
    : MdiChild(true, parent), m_clock([] { return QDateTime::currentDateTime(); }),
      m_session(QString(), QString())
{
    frmKarton = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Cards")));
    KartonLayout::buttons(*this);
    Karton = new QTabWidget(this);
    Karton->addTab(KartonLayout::personalPage(*this),
                   frmMain->CatalogueText("Karton", "tabSzemelyi"));
    mAnm = new QPlainTextEdit();
    Karton->addTab(mAnm, frmMain->CatalogueText("Karton", "tabAnm"));
    mPan = new QPlainTextEdit();
    Karton->addTab(mPan, frmMain->CatalogueText("Karton", "tabPan"));
    Karton->addTab(KartonLayout::sheetPage(*this),
                   frmMain->CatalogueText("Karton", "tabKezelolapok"));
    Karton->hide();
    connectChanges();
    KartonFields::keepOnOneLine(*this);
    connect(frmMain, &TfrmMain::namesHiddenChanged, this,
            [this] { ShowPatientInCaption(PatientName); });

    Loading = false;
    KartonFields::clearPersonal(*this);
    eTTIdx->clear();
    setCardState(false);
    bSave->setEnabled(false);
}

void TfrmKarton::connectChanges()
{
    for (QLineEdit *field : {eNev, eSzulDatum, eNeme, eLanyNev, eAnyja, eHelyseg, eIrsz, eCim, eTel,
                             eFogl, eTAJ, eDiagn, eBNO, eDatum, eIdopont, eHelyszin, eEgyeb})
        connect(field, &QLineEdit::textChanged, this, &TfrmKarton::eNevChange);
    connect(mStatusz, &QPlainTextEdit::textChanged, this, &TfrmKarton::eNevChange);
    for (QLineEdit *field : {eTMag, eSuly})
        connect(field, &QLineEdit::textChanged, this, &TfrmKarton::eTMagChange);
    for (QPlainTextEdit *memo : {mAnm, mPan})
        connect(memo, &QPlainTextEdit::textChanged, this, &TfrmKarton::mAnmChange);
    connect(Karton, &QTabWidget::currentChanged, this, &TfrmKarton::KartonChanging);
    connect(LapokTabs, &SheetTabBar::currentChanged, this, &TfrmKarton::LapokChanging);
    connect(bDeleteKL, &QPushButton::clicked, this, &TfrmKarton::bDeleteKLClick);
    connect(bLoadKL, &QPushButton::clicked, this, &TfrmKarton::bLoadKLClick);
    connect(bReport, &QPushButton::clicked, this, &TfrmKarton::bReportClick);
    connect(bCompare, &QPushButton::clicked, this, &TfrmKarton::bCompareClick);
}

void TfrmKarton::resizeEvent(QResizeEvent *event)
{
    MdiChild::resizeEvent(event);
    FormResize();
}

void TfrmKarton::FormResize()
{
    const QSize outer = subWindow() ? subWindow()->size() : size();
    const int height = std::max(outer.height() - kHeightAllowance, 0);
    pnlButtons->setGeometry(kMargin, kMargin, KartonLayout::kButtonWidth, height);
    Karton->setGeometry(kMargin + KartonLayout::kButtonWidth + kMargin, kMargin,
                        std::max(outer.width() - kWidthAllowance, 0), height);
}

bool TfrmKarton::isCardOpen() const
{
    return !Karton->isHidden();
}

void TfrmKarton::eNevChange()
{
    if (!Loading)
        bSave->setEnabled(true);
}

void TfrmKarton::eTMagChange()
{
    eTTIdx->setText(CardText::bodyMassIndex(eTMag->text(), eSuly->text()));
    // Height and weight are stored like every other field.
    eNevChange();
}

void TfrmKarton::mAnmChange()
{
    bSave->setEnabled(true);
}

bool TfrmKarton::FormCloseQuery()
{
    return AskSaveCard();
}

bool TfrmKarton::AskSaveCard()
{
    if (!isCardOpen() || !bSave->isEnabled())
        return true;
    switch (Dialogs::askYesNoCancel(this, msg("AskSaveCard"))) {
    case QMessageBox::Yes:
        // A card that could not be written stays open with its edits.
        if (!SaveCard())
            return false;
        bSave->setEnabled(false);
        return true;
    case QMessageBox::No:
        bSave->setEnabled(false);
        return true;
    default:
        return false;
    }
}

QString TfrmKarton::sheetPath() const
{
    return m_session.sheetPath();
}

void TfrmKarton::newSession()
{
    // The folders as the settings give them now.
    m_session = CardSession(frmMain->DBPath, frmMain->ArcPath);
    m_session.setLockWait(m_lockWaitMs);
}

bool TfrmKarton::SaveCard()
{
    m_saveDeferred = false;
    if (m_session.id().isEmpty())
        return true;
    m_session.setFolders(frmMain->DBPath, frmMain->ArcPath);
    const bool withNotes = m_page == kSheetPage && !Lapok->isHidden();
    bool overwrite = false;
    for (;;) {
        const Outcome outcome = m_ask.run([&] {
            return m_session.save(KartonFields::content(*this), withNotes ? m_sheet : -1,
                                  KartonFields::notes(*this), overwrite);
        });
        if (outcome == Outcome::Done) {
            eID->setText(m_session.id());
            enableSavedCardButtons();
            return true;
        }
        if (outcome != Outcome::ChangedElsewhere)
            return saveFailed(outcome);
        switch (m_ask.askOutsideChange()) {
        case QMessageBox::Yes:
            reloadCard();
            return true;
        case QMessageBox::No:
            overwrite = true;
            break;
        default:
            m_saveDeferred = true;
            return false;
        }
    }
}

bool TfrmKarton::saveFailed(Outcome outcome)
{
    // Only a failing folder drops the edits' pending state; anything else keeps them.
    m_saveDeferred = outcome != Outcome::Failed && outcome != Outcome::NoIdLeft;
    // The tabs are rebuilt before the message says so.
    if (outcome == Outcome::SheetsChanged)
        KezelolapokShow();
    m_ask.report(outcome, msg("SaveErrK"));
    return false;
}

void TfrmKarton::reloadCard()
{
    LoadCard(m_session.id());
    ShowPatientInCaption(eNev->text());
    bSave->setEnabled(false);
}

void TfrmKarton::LoadCard(const QString &wanted)
{
    // A copy: `wanted` may be the id of the session replaced here.
    const QString id = wanted;
    newSession();
    CardContent card;
    m_session.open(id, card);
    KartonFields::show(*this, card);
    eID->setText(id);
    KezelolapokShow();
    if (!card.damaged.isEmpty())
        Dialogs::error(this, msg("OpenErrK") + QLatin1Char('\r') +
                                 msg("FileDamaged").replace(QLatin1String("%s"), card.damaged));
    else if (m_session.sheetsBeforeDamage() >= 0)
        Dialogs::error(
            this, msg("KLDamagedOpen")
                      .replace(QLatin1String("%2"), QString::number(m_session.sheetsBeforeDamage()))
                      .replace(QLatin1String("%1"), QFileInfo(sheetPath()).absoluteFilePath()));
    eTMagChange();
}

void TfrmKarton::ShowPatientInCaption(const QString &name)
{
    const bool hidden = frmMain->namesHidden();
    frmMain->setWindowTitle(CardText::captionWithPatient(
        frmMain->windowTitle(), name.isEmpty() || hidden
                                    ? PatientDisplayName::inCaption(name, eID->text(), hidden)
                                    : ReadingsOwner::label({eID->text(), name, eSzulDatum->text()},
                                                           false, *frmMain->catalogue())));
    PatientName = name;
    enableSavedCardButtons();
    if (frmMeres && !name.isEmpty())
        frmMeres->PatientSaved(eID->text(), name, eSzulDatum->text());
}

QString TfrmKarton::PatientLabel() const
{
    if (PatientName.isEmpty())
        return QString();
    return ReadingsOwner::label({eID->text(), PatientName, eSzulDatum->text()}, false,
                                *frmMain->catalogue());
}

void TfrmKarton::showPage(int page)
{
    {
        const QSignalBlocker block(Karton);
        Karton->setCurrentIndex(page);
    }
    m_page = page;
    if (page == kSheetPage)
        KezelolapokShow();
}

void TfrmKarton::KartonChanging(int page)
{
    // The user has picked another page; it is kept only if the save question allows.
    if (page == m_page)
        return;
    {
        const QSignalBlocker block(Karton);
        Karton->setCurrentIndex(m_page);
    }
    if (AskSaveCard())
        showPage(page);
}

void TfrmKarton::setCurrentSheet(int tab)
{
    const QSignalBlocker block(LapokTabs);
    LapokTabs->setCurrentIndex(tab);
    m_sheet = tab;
}

void TfrmKarton::LapokChanging(int tab)
{
    if (tab == m_sheet)
        return;
    const int wanted = tab;
    // The question's Yes stores the notes of the sheet being left.
    setCurrentSheet(m_sheet);
    if (!AskSaveCard())
        return;
    setCurrentSheet(wanted);
    LapokChange();
}

void TfrmKarton::setCardState(bool open)
{
    Karton->setVisible(open);
    bBezar->setEnabled(open);
    bTorol->setEnabled(open);
    enableSavedCardButtons();
    emit sheetsChanged();
}

void TfrmKarton::enableSavedCardButtons()
{
    // A new card has no files, so no history and nothing to hand out, before its first save.
    const bool saved = isCardOpen() && !m_session.isNew();
    bHistory->setEnabled(saved);
    bExport->setEnabled(saved);
}

void TfrmKarton::bUjbetegClick()
{
    if (!AskSaveCard())
        return;
    if (isCardOpen())
        bBezarClick();
    newSession();
    if (!m_session.startNew(today())) {
        Dialogs::error(this, msg("SaveErrK"));
        return;
    }
    KartonFields::clearPersonal(*this);
    mAnm->setPlainText(CardSession::anamnesisTemplate());
    mPan->clear();
    eID->setText(m_session.id());
    eDatum->setText(RecordDates::shortDate(today()));
    setCardState(true);
    bSave->setEnabled(true);
    showPage(0);
    eNev->setFocus();
}

void TfrmKarton::openCard(const QString &id)
{
    if (isCardOpen())
        bBezarClick();
    LoadCard(id);
    ShowPatientInCaption(eNev->text());
    setCardState(true);
    bSave->setEnabled(false);
}

void TfrmKarton::greetOnBirthday()
{
    if (RecordDates::isBirthday(eSzulDatum->text(), today()))
        Dialogs::information(this, msg("Birthday"));
}

void TfrmKarton::bKeresClick()
{
    if (frmFind->exec() != QDialog::Accepted)
        return;
    if (!AskSaveCard())
        return;
    openCard(frmFind->SelectedId);
    greetOnBirthday();
}

void TfrmKarton::bSaveClick()
{
    // Text the files cannot hold, a card in use or changed elsewhere keeps the changes pending.
    if (!SaveCard() && m_saveDeferred)
        return;
    ShowPatientInCaption(eNev->text());
    bSave->setEnabled(false);
}

void TfrmKarton::bBezarClick()
{
    if (!AskSaveCard())
        return;
    ShowPatientInCaption(QString());
    setCardState(false);
    bSave->setEnabled(false);
}

void TfrmKarton::bTorolClick()
{
    if (!Dialogs::askYesNo(this, msg("AskDelPat")))
        return;
    bBezarClick();
    // Cancel in the save question keeps the card: a cancelled question never deletes.
    if (isCardOpen())
        return;
    m_ask.report(m_ask.run([this] { return m_session.deleteCard(); }), msg("SaveErrK"));
}

void TfrmKarton::bArcClick()
{
    if (frmArc)
        frmArc->exec();
}

void TfrmKarton::bHistoryClick()
{
    // What is put back replaces the files, so edits not yet saved are settled first.
    if (!frmHistory || !isCardOpen() || m_session.isNew() || !AskSaveCard())
        return;
    frmHistory->Open(m_session, PatientName);
}

void TfrmKarton::ShowCardAsStored()
{
    if (isCardOpen())
        reloadCard();
}

void TfrmKarton::bExportClick()
{
    if (AskSaveCard() && !m_session.isNew())
        ExportActions::exportPatient(this, m_session.id());
}

void TfrmKarton::KezelolapokShow()
{
    LapokTabs->setCount(0);
    Lapok->hide();
    m_sheet = -1;
    QList<KLRecord> sheets;
    // A sheet file that cannot be read lists no sheet, without a message.
    m_session.readSheets(sheets);
    emit sheetsChanged();
    if (sheets.isEmpty())
        return;
    LapokTabs->setCount(sheets.size());
    Lapok->show();
    setCurrentSheet(0);
    LapokChange();
}

void TfrmKarton::LapokChange()
{
    Loading = true;
    const QList<KLRecord> &sheets = m_session.shownSheets();
    KartonFields::showNotes(*this,
                            m_sheet >= 0 && m_sheet < sheets.size() ? &sheets[m_sheet] : nullptr);
    Loading = false;
}

bool TfrmKarton::SaveMeasurementAsSheet()
{
    frmMain->bringToFront(this);
    if (!isCardOpen()) {
        if (frmFind->exec() != QDialog::Accepted)
            return false;
        openCard(frmFind->SelectedId);
    } else if (m_session.isNew()) {
        if (!saveNewCardFirst())
            return false;
    } else if (!AskSaveCard()) {
        // The rebuilt sheet page would otherwise drop the notes being typed.
        return false;
    }
    if (!mayStoreGridHere())
        return false;
    showPage(kSheetPage);
    KLRecord sheet;
    sheet.Idopont = ReadingsOwner::sheetTime(frmMeres->Origin, m_clock());
    KartonFields::readGrid(sheet);
    // The readings stay in the grid whatever happens to the sheet.
    const bool appended = m_ask.report(
        m_ask.run([&] { return m_session.appendSheet(sheet); }),
        msg("KLFileErr").replace(QLatin1String("%s"), QFileInfo(sheetPath()).absoluteFilePath()));
    if (appended)
        frmMeres->SetOrigin(
            GridOrigin::ofSheet(m_session.id(), PatientName, sheet.Idopont, eSzulDatum->text()));
    KezelolapokShow();
    if (appended && LapokTabs->count() > 0) {
        setCurrentSheet(LapokTabs->count() - 1);
        LapokChange();
    }
    return appended;
}

// Readings already on a sheet, or measured on another patient, are stored only on the user's
// word; the question names both patients and Escape stores nothing.
bool TfrmKarton::mayStoreGridHere()
{
    const GridOrigin &origin = frmMeres->Origin;
    const ReadingsOwner::Decision decision = ReadingsOwner::decide(origin, m_session.id());
    if (decision == ReadingsOwner::Decision::Save)
        return true;
    return Dialogs::askYesNo(
        this,
        ReadingsOwner::question(decision, origin, {m_session.id(), PatientName, eSzulDatum->text()},
                                frmMain->namesHidden(), *frmMain->catalogue()));
}

// A sheet without its card's .sza would be listed by no search, and its id would be
// handed to the next new card: the card is saved first or nothing is written.
bool TfrmKarton::saveNewCardFirst()
{
    if (Dialogs::askYesNoCancel(this, msg("AskSaveCard")) != QMessageBox::Yes || !SaveCard())
        return false;
    ShowPatientInCaption(eNev->text());
    bSave->setEnabled(false);
    return true;
}

bool TfrmKarton::SaveSheetHeader()
{
    return m_ask.report(
        m_ask.run([this] { return m_session.saveNotes(m_sheet, KartonFields::notes(*this)); }),
        msg("SaveErrKL"));
}

// Acts only on the sheet file as the tabs show it; otherwise the tabs are built anew.
bool TfrmKarton::sheetsAsShown(Outcome outcome)
{
    if (outcome != Outcome::SheetsChanged)
        return m_ask.report(outcome, msg("OpenErrKL"));
    KezelolapokShow();
    m_ask.report(outcome);
    return false;
}

std::optional<KLRecord> TfrmKarton::readSelectedSheet()
{
    KLRecord sheet;
    if (!sheetsAsShown(m_session.readSheet(m_sheet, sheet)))
        return std::nullopt;
    return sheet;
}

void TfrmKarton::bLoadKLClick()
{
    const std::optional<KLRecord> sheet = readSelectedSheet();
    if (!sheet)
        return;
    KartonFields::showInGrid(*sheet);
    frmMeres->SetOrigin(
        GridOrigin::ofSheet(eID->text(), PatientName, sheet->Idopont, eSzulDatum->text()));
    frmMeres->MarkReadingsSaved();
    frmMain->bringToFront(frmMeres);
}

void TfrmKarton::bReportClick()
{
    if (const std::optional<KLRecord> read = readSelectedSheet())
        frmPrint->PrintReport(eNev->text(), eID->text(), eSzulDatum->text(),
                              KartonFields::withShownNotes(*this, *read));
}

void TfrmKarton::bDeleteKLClick()
{
    if (!Dialogs::askYesNo(this, msg("AskDelKL")))
        return;
    const Outcome outcome = m_ask.run([this] {
        return m_session.deleteSheet(m_sheet, msg("CopyOpenErr"), msg("CopyCreateErr"));
    });
    m_ask.report(outcome, m_session.failure().isEmpty() ? msg("DelErrKL") : m_session.failure());
    KezelolapokShow();
}

void TfrmKarton::bCompareClick()
{
    if (frmCompare && sheetsAsShown(m_session.checkSheets()))
        frmCompare->Open();
}
