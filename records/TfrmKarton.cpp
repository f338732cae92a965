#include "records/TfrmKarton.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmPrint.h"
#include "measure/TfrmMeres.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/CardText.h"
#include "records/OneLineValidator.h"
#include "records/PatientDisplayName.h"
#include "records/PatientId.h"
#include "records/RecordDates.h"
#include "records/SheetFile.h"
#include "records/SheetTabBar.h"
#include "records/TfrmArc.h"
#include "records/TfrmFind.h"

#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmKarton *frmKarton = nullptr;

namespace {
constexpr int kButtonWidth = 97;
constexpr int kButtonHeight = 41;
constexpr int kMargin = 8;
constexpr int kHeightAllowance = 38;
constexpr int kWidthAllowance = 131;
constexpr int kLeft = 8;
constexpr int kRight = 352;
constexpr int kRow = 40;
constexpr int kLabelHeight = 15;
constexpr int kEditHeight = 21;

const QString kTemplate = QStringLiteral("anmminta.txt");
} // namespace

TfrmKarton::TfrmKarton(QWidget *parent)
    : MdiChild(true, parent), m_clock([] { return QDateTime::currentDateTime(); })
{
    frmKarton = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Cards")));
    buildButtons();
    Karton = new QTabWidget(this);
    Karton->addTab(buildPersonalPage(), frmMain->CatalogueText("Karton", "tabSzemelyi"));
    mAnm = new QPlainTextEdit();
    Karton->addTab(mAnm, frmMain->CatalogueText("Karton", "tabAnm"));
    mPan = new QPlainTextEdit();
    Karton->addTab(mPan, frmMain->CatalogueText("Karton", "tabPan"));
    Karton->addTab(buildSheetPage(), frmMain->CatalogueText("Karton", "tabKezelolapok"));
    Karton->hide();
    connectChanges();
    keepFieldsOnOneLine();
    connect(frmMain, &TfrmMain::namesHiddenChanged, this,
            [this] { ShowPatientInCaption(PatientName); });

    Loading = false;
    for (QLineEdit *field : personalFields())
        field->clear();
    eTTIdx->clear();
    setCardState(false);
    bSave->setEnabled(false);
}

void TfrmKarton::buildButtons()
{
    pnlButtons = new QWidget(this);
    auto button = [this](const QString &caption, int index) {
        auto *b = new QPushButton(caption, pnlButtons);
        b->setGeometry(0, index * kButtonHeight, kButtonWidth, kButtonHeight);
        return b;
    };
    bUjbeteg = button(frmMain->CatalogueText("Karton", "bUjbeteg"), 0);
    bKeres = button(frmMain->CatalogueText("Karton", "bKeres"), 1);
    bSave = button(frmMain->CatalogueText("Karton", "bSave"), 2);
    bBezar = button(frmMain->CatalogueText("Karton", "bBezar"), 3);
    bTorol = button(frmMain->CatalogueText("Karton", "bTorol"), 4);
    bArc = button(frmMain->CatalogueText("Karton", "bArc"), 5);
    connect(bUjbeteg, &QPushButton::clicked, this, &TfrmKarton::bUjbetegClick);
    connect(bKeres, &QPushButton::clicked, this, &TfrmKarton::bKeresClick);
    connect(bSave, &QPushButton::clicked, this, &TfrmKarton::bSaveClick);
    connect(bBezar, &QPushButton::clicked, this, &TfrmKarton::bBezarClick);
    connect(bTorol, &QPushButton::clicked, this, &TfrmKarton::bTorolClick);
    connect(bArc, &QPushButton::clicked, this, &TfrmKarton::bArcClick);
}

QLineEdit *TfrmKarton::addField(QWidget *page, const QString &label, int x, int y, int width,
                                bool small)
{
    auto *caption = new QLabel(label, page);
    if (small) {
        QFont font = caption->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        caption->setFont(font);
    }
    caption->setGeometry(x, y, std::max(width, 120), kLabelHeight);
    auto *edit = new QLineEdit(page);
    edit->setGeometry(x, y + kLabelHeight, width, kEditHeight);
    caption->setBuddy(edit);
    return edit;
}

QWidget *TfrmKarton::buildPersonalPage()
{
    auto *page = new QWidget();
    auto unit = [page](const QString &text, QLineEdit *field) {
        auto *label = new QLabel(text, page);
        label->setGeometry(field->geometry().right() + 6, field->y(), 40, kEditHeight);
    };
    int y = 6;
    eDatum = addField(page, frmMain->CatalogueText("Karton", "eDatum"), kLeft, y, 121);
    eID = addField(page, frmMain->CatalogueText("Karton", "eID"), kRight, y, 121);
    y += kRow;
    eNev = addField(page, frmMain->CatalogueText("Karton", "eNev"), kLeft, y, 329);
    eNeme = addField(page, frmMain->CatalogueText("Karton", "eNeme"), kRight, y, 121);
    y += kRow;
    eLanyNev = addField(page, frmMain->CatalogueText("Karton", "eLanyNev"), kLeft, y, 329);
    y += kRow;
    eSzulDatum = addField(page, frmMain->CatalogueText("Karton", "eSzulDatum"), kLeft, y, 121);
    y += kRow;
    eAnyja = addField(page, frmMain->CatalogueText("Karton", "eAnyja"), kLeft, y, 329);
    y += kRow;
    auto *address = new QLabel(frmMain->CatalogueText("Karton", "lblLakcim"), page);
    address->setGeometry(kLeft, y, 120, kLabelHeight);
    y += kLabelHeight;
    eHelyseg = addField(page, frmMain->CatalogueText("Karton", "eHelyseg"), kLeft, y, 161, true);
    eIrsz = addField(page, frmMain->CatalogueText("Karton", "eIrsz"), kLeft + 169, y, 81, true);
    eCim = addField(page, frmMain->CatalogueText("Karton", "eCim"), kLeft + 258, y, 215, true);
    y += kRow;
    eTel = addField(page, frmMain->CatalogueText("Karton", "eTel"), kLeft, y, 329);
    eTMag = addField(page, frmMain->CatalogueText("Karton", "eTMag"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eTMagUnit"), eTMag);
    y += kRow;
    eFogl = addField(page, frmMain->CatalogueText("Karton", "eFogl"), kLeft, y, 329);
    eSuly = addField(page, frmMain->CatalogueText("Karton", "eSuly"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eSulyUnit"), eSuly);
    y += kRow;
    eTAJ = addField(page, frmMain->CatalogueText("Karton", "eTAJ"), kLeft, y, 329);
    eTTIdx = addField(page, frmMain->CatalogueText("Karton", "eTTIdx"), kRight, y, 57);
    unit(frmMain->CatalogueText("Karton", "eTTIdxUnit"), eTTIdx);
    y += kRow;
    eDiagn = addField(page, frmMain->CatalogueText("Karton", "eDiagn"), kLeft, y, 329);
    eBNO = addField(page, frmMain->CatalogueText("Karton", "eBNO"), kRight, y, 121);

    eID->setReadOnly(true);
    eTTIdx->setReadOnly(true);
    for (QLineEdit *skipped : {eTTIdx, eID, eDatum})
        skipped->setFocusPolicy(Qt::ClickFocus);
    const QList<QLineEdit *> order = {eNev,     eNeme, eLanyNev, eSzulDatum, eAnyja,
                                      eHelyseg, eIrsz, eCim,     eTel,       eFogl,
                                      eTAJ,     eTMag, eSuly,    eDiagn,     eBNO};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    return page;
}

QWidget *TfrmKarton::buildSheetPage()
{
    auto *page = new QWidget();
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    Lapok = new QWidget(page);
    pageLayout->addWidget(Lapok);
    auto *layout = new QVBoxLayout(Lapok);
    layout->setContentsMargins(0, 0, 0, 0);
    LapokTabs = new SheetTabBar(Lapok);
    layout->addWidget(LapokTabs);

    auto *body = new QVBoxLayout();
    body->setContentsMargins(8, 4, 8, 8);
    auto field = [body, this](const QString &caption, QWidget *edit) {
        body->addWidget(new QLabel(caption, Lapok));
        body->addWidget(edit, 0, Qt::AlignLeft);
    };
    eIdopont = new QLineEdit(Lapok);
    eIdopont->setFixedWidth(161);
    field(frmMain->CatalogueText("Karton", "eIdopont"), eIdopont);
    eHelyszin = new QLineEdit(Lapok);
    eHelyszin->setFixedWidth(161);
    field(frmMain->CatalogueText("Karton", "eHelyszin"), eHelyszin);
    mStatusz = new QPlainTextEdit(Lapok);
    mStatusz->setFixedSize(577, 89);
    field(frmMain->CatalogueText("Karton", "mStatusz"), mStatusz);
    eEgyeb = new QLineEdit(Lapok);
    eEgyeb->setFixedWidth(577);
    field(frmMain->CatalogueText("Karton", "eEgyeb"), eEgyeb);
    body->addStretch(1);
    auto *buttons = new QHBoxLayout();
    bDeleteKL = new QPushButton(frmMain->CatalogueText("Karton", "bDeleteKL"), Lapok);
    bLoadKL = new QPushButton(frmMain->CatalogueText("Karton", "bLoadKL"), Lapok);
    bReport = new QPushButton(frmMain->CatalogueText("Karton", "Report"), Lapok);
    for (QPushButton *b : {bDeleteKL, bLoadKL, bReport}) {
        b->setFixedSize(kButtonWidth, kButtonHeight);
        buttons->addWidget(b);
    }
    bCompare = new QPushButton(
        frmMain->CatalogueText(QStringLiteral("Compare"), QStringLiteral("Title")), Lapok);
    bCompare->setFixedSize(std::max(kButtonWidth, bCompare->sizeHint().width()), kButtonHeight);
    buttons->addWidget(bCompare);
    buttons->addStretch(1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    Lapok->hide();

    connect(LapokTabs, &SheetTabBar::currentChanged, this, &TfrmKarton::LapokChanging);
    connect(bDeleteKL, &QPushButton::clicked, this, &TfrmKarton::bDeleteKLClick);
    connect(bLoadKL, &QPushButton::clicked, this, &TfrmKarton::bLoadKLClick);
    connect(bReport, &QPushButton::clicked, this, &TfrmKarton::bReportClick);
    connect(bCompare, &QPushButton::clicked, this, &TfrmKarton::bCompareClick);
    return page;
}

QList<QLineEdit *> TfrmKarton::personalFields() const
{
    // The order of the keys in the .sza file.
    return {eNev,  eSzulDatum, eNeme, eLanyNev, eAnyja, eHelyseg, eIrsz, eCim,  eTel,
            eFogl, eTAJ,       eTMag, eSuly,    eDiagn, eBNO,     eID,   eDatum};
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
}

void TfrmKarton::keepFieldsOnOneLine()
{
    for (QLineEdit *field : personalFields() + QList<QLineEdit *>{eIdopont, eHelyszin, eEgyeb})
        field->setValidator(new OneLineValidator(field));
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
    pnlButtons->setGeometry(kMargin, kMargin, kButtonWidth, height);
    Karton->setGeometry(kMargin + kButtonWidth + kMargin, kMargin,
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
    switch (Dialogs::askYesNoCancel(this, frmMain->CatalogueText("Msg", "AskSaveCard"))) {
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

QString TfrmKarton::base() const
{
    return frmMain->DBPath + eID->text();
}

QString TfrmKarton::sheetPath() const
{
    return base() + QStringLiteral(".kl");
}

QStringList TfrmKarton::cardTexts() const
{
    QStringList texts;
    for (const QLineEdit *field : personalFields())
        texts << field->text();
    texts << mAnm->toPlainText() << mPan->toPlainText();
    if (m_page == kSheetPage && !Lapok->isHidden())
        texts << eIdopont->text() << eHelyszin->text() << mStatusz->toPlainText() << eEgyeb->text();
    return texts;
}

bool TfrmKarton::checkStorable(const QStringList &texts)
{
    const QStringList unstorable = Cp1250::unstorable(texts.join(QString()));
    if (unstorable.isEmpty())
        return true;
    Dialogs::error(this, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("NoCp1250"))
                             .replace(QLatin1String("%1"), unstorable.join(QLatin1Char(' '))));
    return false;
}

bool TfrmKarton::SaveCard()
{
    m_saveDeferred = false;
    if (eID->text().isEmpty())
        return true;
    if (!checkStorable(cardTexts())) {
        m_saveDeferred = true;
        return false;
    }
    if (!claimNewCard()) {
        Dialogs::error(this,
                       frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("SaveErrK")));
        return false;
    }
    CardLock lock(CardLock::pathFor(base()), m_lockClock);
    switch (lockUnchangedCard(lock)) {
    case SaveGate::Reloaded:
        return true;
    case SaveGate::Stop:
        m_saveDeferred = true;
        return false;
    case SaveGate::Write:
        break;
    }
    QStringList values;
    for (const QLineEdit *field : personalFields())
        values << field->text();
    const bool written =
        CardFile::writePersonal(base() + QStringLiteral(".sza"), values) &&
        CardFile::writeMemo(base() + QStringLiteral(".anm"), mAnm->toPlainText()) &&
        CardFile::writeMemo(base() + QStringLiteral(".pan"), mPan->toPlainText());
    const bool headerWritten =
        !written || m_page != kSheetPage || Lapok->isHidden() || writeSheetHeader();
    m_seen.take(base());
    lock.release();
    if (!written) {
        Dialogs::error(this,
                       frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("SaveErrK")));
        return false;
    }
    if (!headerWritten)
        Dialogs::error(this, frmMain->CatalogueText("Msg", "SaveErrKL"));
    return headerWritten;
}

bool TfrmKarton::claimNewCard()
{
    if (!m_unclaimedDate.isValid())
        return true;
    // Another workstation may have saved a card under the proposed id meanwhile.
    const QString id =
        CardClaim::claim(eID->text(), m_unclaimedDate, frmMain->DBPath, frmMain->ArcPath);
    if (id.isEmpty())
        return false;
    m_unclaimedDate = QDate();
    eID->setText(id);
    m_seen.clear();
    m_seen.take(base());
    return true;
}

bool TfrmKarton::waitForCard(CardLock &lock)
{
    // A folder that takes no lock file takes no record either: the write reports it.
    if (lock.acquire() || !lock.inUse())
        return true;
    Dialogs::error(this, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("CardInUse"))
                             .replace(QLatin1String("%s"), eID->text()));
    return false;
}

TfrmKarton::SaveGate TfrmKarton::lockUnchangedCard(CardLock &lock)
{
    if (!waitForCard(lock))
        return SaveGate::Stop;
    if (m_seen.matches(base()))
        return SaveGate::Write;
    // Nobody waits for the card while the user thinks.
    lock.release();
    switch (askOutsideChange()) {
    case QMessageBox::Yes:
        reloadCard();
        return SaveGate::Reloaded;
    case QMessageBox::No:
        return waitForCard(lock) ? SaveGate::Write : SaveGate::Stop;
    default:
        return SaveGate::Stop;
    }
}

QMessageBox::StandardButton TfrmKarton::askOutsideChange()
{
    QMessageBox box(QMessageBox::Warning, Dialogs::title(),
                    frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("CardChanged")),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Reload")));
    box.button(QMessageBox::No)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Overwrite")));
    box.button(QMessageBox::Cancel)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Cancel")));
    // Reloading and overwriting are no yes and no: the style's icons for those would mislead.
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TfrmKarton::reloadCard()
{
    LoadCard(eID->text());
    ShowPatientInCaption(eNev->text());
    bSave->setEnabled(false);
}

void TfrmKarton::LoadCard(const QString &id)
{
    // Taken before reading: a write that comes in between shows as a change.
    m_unclaimedDate = QDate();
    m_seen.clear();
    m_seen.take(frmMain->DBPath + id);
    // The requested id, not the stored one: a card file without its ID key would
    // otherwise show no memos, and saving would then empty them.
    const CardFile::Contents card = CardFile::read(frmMain->DBPath + id);
    const QList<QLineEdit *> fields = personalFields();
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(card.personal[i]);
    mAnm->setPlainText(card.anamnesis);
    mPan->setPlainText(card.complaints);
    eID->setText(id);
    KezelolapokShow();
    if (!card.damaged.isEmpty())
        Dialogs::error(this, frmMain->CatalogueText("Msg", "OpenErrK") + QLatin1Char('\r') +
                                 frmMain->CatalogueText("Msg", "FileDamaged")
                                     .replace(QLatin1String("%s"), card.damaged));
    eTMagChange();
}

void TfrmKarton::ShowPatientInCaption(const QString &name)
{
    frmMain->setWindowTitle(CardText::captionWithPatient(
        frmMain->windowTitle(),
        PatientDisplayName::inCaption(name, eID->text(), frmMain->namesHidden())));
    PatientName = name;
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
    emit sheetsChanged();
}

void TfrmKarton::bUjbetegClick()
{
    if (!AskSaveCard())
        return;
    if (isCardOpen())
        bBezarClick();
    const QString id = PatientId::NewPatientId(today(), frmMain->DBPath, frmMain->ArcPath);
    if (id.isEmpty()) {
        Dialogs::error(this,
                       frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("SaveErrK")));
        return;
    }
    for (QLineEdit *field : personalFields())
        field->clear();
    QString anamnesis;
    if (!CardFile::readMemo(kTemplate, anamnesis))
        anamnesis.clear();
    mAnm->setPlainText(anamnesis);
    mPan->clear();
    eID->setText(id);
    m_seen.clear();
    m_unclaimedDate = today();
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
        Dialogs::information(this, frmMain->CatalogueText("Msg", "Birthday"));
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
    if (!Dialogs::askYesNo(
            this, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("AskDelPat"))))
        return;
    const QString cardBase = base();
    bBezarClick();
    // Cancel in the save question keeps the card: a cancelled question never deletes.
    if (isCardOpen())
        return;
    CardFile::moveToBackups(cardBase);
}

void TfrmKarton::bArcClick()
{
    if (frmArc)
        frmArc->exec();
}

void TfrmKarton::KezelolapokShow()
{
    LapokTabs->setCount(0);
    Lapok->hide();
    m_sheet = -1;
    m_seen.take(base(), QStringLiteral("kl"));
    emit sheetsChanged();
    const SheetFile file(sheetPath());
    QList<KLRecord> sheets;
    if (!file.exists() || !file.read(sheets) || sheets.isEmpty())
        return;
    LapokTabs->setCount(sheets.size());
    Lapok->show();
    setCurrentSheet(0);
    LapokChange();
}

void TfrmKarton::LapokChange()
{
    Loading = true;
    eIdopont->clear();
    eHelyszin->clear();
    mStatusz->clear();
    eEgyeb->clear();
    QList<KLRecord> sheets;
    if (SheetFile(sheetPath()).read(sheets) && m_sheet >= 0 && m_sheet < sheets.size()) {
        const KLRecord &sheet = sheets[m_sheet];
        eIdopont->setText(sheet.Idopont);
        eHelyszin->setText(sheet.Helyszin);
        mStatusz->setPlainText(CardFile::toMemoText(sheet.Statusz));
        eEgyeb->setText(sheet.Egyeb);
    }
    Loading = false;
}

bool TfrmKarton::SaveMeasurementAsSheet()
{
    frmMain->bringToFront(this);
    if (!isCardOpen()) {
        if (frmFind->exec() != QDialog::Accepted)
            return false;
        openCard(frmFind->SelectedId);
    } else if (!QFileInfo::exists(base() + QStringLiteral(".sza"))) {
        if (!saveNewCardFirst())
            return false;
    } else if (!AskSaveCard()) {
        // The rebuilt sheet page would otherwise drop the notes being typed.
        return false;
    }
    showPage(kSheetPage);
    KLRecord sheet;
    sheet.Idopont = RecordDates::sheetTime(m_clock());
    for (int row = 1; row <= 12; ++row) {
        for (int col = 1; col <= 2; ++col) {
            bool ok = false;
            const int reading = frmMeres->Cell(col, row).toInt(&ok, 10);
            sheet.Readings[KLRecord::readingIndex(col, row)] = ok ? reading : KLRecord::kNoReading;
        }
    }
    SheetFile file(sheetPath());
    CardLock lock(CardLock::pathFor(base()), m_lockClock);
    if (!waitForCard(lock))
        return false;
    const bool appended = file.append(sheet);
    lock.release();
    if (appended)
        frmMeres->Origin = GridOrigin::ofSheet(eID->text(), PatientName, sheet.Idopont);
    else
        reportAppendFailure(QFileInfo(file.path()).absoluteFilePath(), file.sheetsBeforeDamage());
    KezelolapokShow();
    if (LapokTabs->count() > 0) {
        setCurrentSheet(LapokTabs->count() - 1);
        LapokChange();
    }
    return appended;
}

// A sheet without its card's .sza would be listed by no search, and its id would be
// handed to the next new card: the card is saved first or nothing is written.
bool TfrmKarton::saveNewCardFirst()
{
    if (Dialogs::askYesNoCancel(this, frmMain->CatalogueText("Msg", "AskSaveCard")) !=
            QMessageBox::Yes ||
        !SaveCard())
        return false;
    ShowPatientInCaption(eNev->text());
    bSave->setEnabled(false);
    return true;
}

void TfrmKarton::reportAppendFailure(const QString &path, int sheetsBeforeDamage)
{
    if (sheetsBeforeDamage < 0) {
        Dialogs::error(
            this, frmMain->CatalogueText("Msg", "KLFileErr").replace(QLatin1String("%s"), path));
        return;
    }
    Dialogs::error(this, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("KLDamaged"))
                             .replace(QLatin1String("%2"), QString::number(sheetsBeforeDamage + 1))
                             .replace(QLatin1String("%1"), path));
}

bool TfrmKarton::SaveSheetHeader()
{
    CardLock lock(CardLock::pathFor(base()), m_lockClock);
    if (!waitForCard(lock))
        return false;
    const bool written = writeSheetHeader();
    if (written)
        m_seen.take(base(), QStringLiteral("kl"));
    lock.release();
    if (written)
        return true;
    Dialogs::error(this, frmMain->CatalogueText("Msg", "SaveErrKL"));
    return false;
}

bool TfrmKarton::writeSheetHeader()
{
    KLRecord sheet;
    sheet.Idopont = eIdopont->text();
    sheet.Helyszin = eHelyszin->text();
    sheet.Statusz = CardFile::toFileText(mStatusz->toPlainText());
    sheet.Egyeb = eEgyeb->text();
    return SheetFile(sheetPath()).writeHeader(m_sheet, sheet);
}

std::optional<KLRecord> TfrmKarton::readSelectedSheet()
{
    QList<KLRecord> sheets;
    if (!SheetFile(sheetPath()).read(sheets) || m_sheet < 0 || m_sheet >= sheets.size()) {
        Dialogs::error(this, frmMain->CatalogueText("Msg", "OpenErrKL"));
        return std::nullopt;
    }
    return sheets[m_sheet];
}

void TfrmKarton::bLoadKLClick()
{
    const std::optional<KLRecord> sheet = readSelectedSheet();
    if (!sheet)
        return;
    for (int row = 1; row <= 12; ++row) {
        for (int col = 1; col <= 2; ++col) {
            const qint32 reading = sheet->Readings[KLRecord::readingIndex(col, row)];
            frmMeres->SetCell(col, row, reading < 0 ? QString() : QString::number(reading));
        }
    }
    frmMeres->Origin = GridOrigin::ofSheet(eID->text(), PatientName, sheet->Idopont);
    frmMeres->MarkReadingsSaved();
    frmMain->bringToFront(frmMeres);
}

void TfrmKarton::bReportClick()
{
    std::optional<KLRecord> read = readSelectedSheet();
    if (!read)
        return;
    // The stored readings under the texts as the card shows them now.
    KLRecord sheet = *read;
    sheet.Idopont = eIdopont->text();
    sheet.Helyszin = eHelyszin->text();
    sheet.Statusz = mStatusz->toPlainText();
    sheet.Egyeb = eEgyeb->text();
    frmPrint->PrintReport(eNev->text(), eID->text(), eSzulDatum->text(), sheet);
}

void TfrmKarton::bDeleteKLClick()
{
    if (!Dialogs::askYesNo(this, frmMain->CatalogueText("Msg", "AskDelKL")))
        return;
    CardLock lock(CardLock::pathFor(base()), m_lockClock);
    if (!waitForCard(lock))
        return;
    // Sheets added or deleted elsewhere since the tabs were built shift the selected index.
    if (!m_seen.matches(base(), QStringLiteral("kl"))) {
        lock.release();
        Dialogs::error(
            this, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("SheetsChanged")));
        KezelolapokShow();
        return;
    }
    const QString error = FileCopy::copyFileTo(sheetPath(), base() + QStringLiteral(".~kl"),
                                               {frmMain->CatalogueText("Msg", "CopyOpenErr"),
                                                frmMain->CatalogueText("Msg", "CopyCreateErr")});
    if (!error.isEmpty()) {
        lock.release();
        Dialogs::error(this, error);
        return;
    }
    const bool removed =
        SheetFile(sheetPath()).removeSheet(m_sheet, base() + QStringLiteral(".kl$"));
    lock.release();
    if (!removed)
        Dialogs::error(this, frmMain->CatalogueText("Msg", "DelErrKL"));
    KezelolapokShow();
}

void TfrmKarton::bCompareClick()
{
    if (frmCompare)
        frmCompare->Open();
}
