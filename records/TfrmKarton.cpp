#include "records/TfrmKarton.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/TfrmCompare.h"
#include "measure/TfrmMeres.h"
#include "platform/FileCopy.h"
#include "records/CardFile.h"
#include "records/CardText.h"
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
    Karton->addTab(buildPersonalPage(), QStringLiteral("Személyi adatok"));
    mAnm = new QPlainTextEdit();
    Karton->addTab(mAnm, QStringLiteral("Anamnaesis"));
    mPan = new QPlainTextEdit();
    Karton->addTab(mPan, QStringLiteral("Panaszok"));
    Karton->addTab(buildSheetPage(), QStringLiteral("Kezelőlapok"));
    Karton->hide();
    connectChanges();

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
    bUjbeteg = button(QStringLiteral("Ú&j beteg"), 0);
    bKeres = button(QStringLiteral("&Keresés"), 1);
    bSave = button(QStringLiteral("&Mentés"), 2);
    bBezar = button(QStringLiteral("&Bezárás"), 3);
    bTorol = button(QStringLiteral("Törlés"), 4);
    bArc = button(QStringLiteral("&Archívum"), 5);
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
    eDatum = addField(page, QStringLiteral("Felvétel dátuma"), kLeft, y, 121);
    eID = addField(page, QStringLiteral("Beteg azonosító"), kRight, y, 121);
    y += kRow;
    eNev = addField(page, QStringLiteral("Név"), kLeft, y, 329);
    eNeme = addField(page, QStringLiteral("Neme"), kRight, y, 121);
    y += kRow;
    eLanyNev = addField(page, QStringLiteral("Leánykori név"), kLeft, y, 329);
    y += kRow;
    eSzulDatum = addField(page, QStringLiteral("Születési dátum"), kLeft, y, 121);
    y += kRow;
    eAnyja = addField(page, QStringLiteral("Anyja neve"), kLeft, y, 329);
    y += kRow;
    auto *address = new QLabel(QStringLiteral("Lakcím"), page);
    address->setGeometry(kLeft, y, 120, kLabelHeight);
    y += kLabelHeight;
    eHelyseg = addField(page, QStringLiteral("Helység"), kLeft, y, 161, true);
    eIrsz = addField(page, QStringLiteral("Irányítószám"), kLeft + 169, y, 81, true);
    eCim = addField(page, QStringLiteral("Utca, hsz."), kLeft + 258, y, 215, true);
    y += kRow;
    eTel = addField(page, QStringLiteral("Telefonszám"), kLeft, y, 329);
    eTMag = addField(page, QStringLiteral("Testmagasság"), kRight, y, 57);
    unit(QStringLiteral("cm"), eTMag);
    y += kRow;
    eFogl = addField(page, QStringLiteral("Foglalkozás"), kLeft, y, 329);
    eSuly = addField(page, QStringLiteral("Testsúly"), kRight, y, 57);
    unit(QStringLiteral("kg"), eSuly);
    y += kRow;
    eTAJ = addField(page, QStringLiteral("TAJ szám"), kLeft, y, 329);
    eTTIdx = addField(page, QStringLiteral("Testtömeg-index"), kRight, y, 57);
    unit(QStringLiteral("kg/m2"), eTTIdx);
    y += kRow;
    eDiagn = addField(page, QStringLiteral("Diagnózis"), kLeft, y, 329);
    eBNO = addField(page, QStringLiteral("BNO"), kRight, y, 121);

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
    field(QStringLiteral("Időpont"), eIdopont);
    eHelyszin = new QLineEdit(Lapok);
    eHelyszin->setFixedWidth(161);
    field(QStringLiteral("Helyszín"), eHelyszin);
    mStatusz = new QPlainTextEdit(Lapok);
    mStatusz->setFixedSize(577, 89);
    field(QStringLiteral("Státusz"), mStatusz);
    eEgyeb = new QLineEdit(Lapok);
    eEgyeb->setFixedWidth(577);
    field(QStringLiteral("Egyéb"), eEgyeb);
    body->addStretch(1);
    auto *buttons = new QHBoxLayout();
    bDeleteKL = new QPushButton(QStringLiteral("Törlés"), Lapok);
    bLoadKL = new QPushButton(QStringLiteral("Betöltés"), Lapok);
    for (QPushButton *b : {bDeleteKL, bLoadKL}) {
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
    switch (Dialogs::askYesNoCancel(this, QStringLiteral("A karton nincs elmentve. Elmentsem?"))) {
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

bool TfrmKarton::SaveCard()
{
    if (eID->text().isEmpty())
        return true;
    QStringList values;
    for (const QLineEdit *field : personalFields())
        values << field->text();
    const bool written =
        CardFile::writePersonal(base() + QStringLiteral(".sza"), values) &&
        CardFile::writeMemo(base() + QStringLiteral(".anm"), mAnm->toPlainText()) &&
        CardFile::writeMemo(base() + QStringLiteral(".pan"), mPan->toPlainText());
    if (!written) {
        Dialogs::error(this,
                       frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("SaveErrK")));
        return false;
    }
    if (m_page == kSheetPage && !Lapok->isHidden())
        return SaveSheetHeader();
    return true;
}

void TfrmKarton::LoadCard(const QString &id)
{
    const QStringList values =
        CardFile::readPersonal(frmMain->DBPath + id + QStringLiteral(".sza"));
    const QList<QLineEdit *> fields = personalFields();
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(values[i]);
    QString anm;
    QString pan;
    // The requested id, not the stored one: a card file without its ID key would
    // otherwise show no memos, and saving would then empty them.
    const QString memoBase = frmMain->DBPath + id;
    const bool read = CardFile::readMemo(memoBase + QStringLiteral(".anm"), anm) &&
                      CardFile::readMemo(memoBase + QStringLiteral(".pan"), pan);
    mAnm->setPlainText(anm);
    mPan->setPlainText(pan);
    eID->setText(id);
    if (read)
        KezelolapokShow();
    else
        Dialogs::error(this,
                       frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("OpenErrK")));
    eTMagChange();
}

void TfrmKarton::ShowPatientInCaption(const QString &name)
{
    frmMain->setWindowTitle(CardText::captionWithPatient(frmMain->windowTitle(), name));
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
        Dialogs::information(this, QStringLiteral("Bolgod születésnapot!!!"));
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
    SaveCard();
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

void TfrmKarton::SaveMeasurementAsSheet()
{
    frmMain->bringToFront(this);
    if (!isCardOpen()) {
        if (frmFind->exec() != QDialog::Accepted)
            return;
        openCard(frmFind->SelectedId);
    } else if (!AskSaveCard()) {
        // The rebuilt sheet page would otherwise drop the notes being typed.
        return;
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
    if (!file.append(sheet)) {
        Dialogs::error(this, QStringLiteral("File megnyitási hiba! (") +
                                 QFileInfo(file.path()).absoluteFilePath() + QLatin1Char(')'));
    }
    KezelolapokShow();
    if (LapokTabs->count() > 0) {
        setCurrentSheet(LapokTabs->count() - 1);
        LapokChange();
    }
}

bool TfrmKarton::SaveSheetHeader()
{
    KLRecord sheet;
    sheet.Idopont = eIdopont->text();
    sheet.Helyszin = eHelyszin->text();
    sheet.Statusz = CardFile::toFileText(mStatusz->toPlainText());
    sheet.Egyeb = eEgyeb->text();
    if (SheetFile(sheetPath()).writeHeader(m_sheet, sheet))
        return true;
    Dialogs::error(this, QStringLiteral("A kezelőlapot nem lehet elmenteni!"));
    return false;
}

void TfrmKarton::bLoadKLClick()
{
    QList<KLRecord> sheets;
    if (!SheetFile(sheetPath()).read(sheets) || m_sheet < 0 || m_sheet >= sheets.size()) {
        Dialogs::error(this, QStringLiteral("A kezelőlapot nem lehet megnyitni!"));
        return;
    }
    const KLRecord &sheet = sheets[m_sheet];
    for (int row = 1; row <= 12; ++row) {
        for (int col = 1; col <= 2; ++col) {
            const qint32 reading = sheet.Readings[KLRecord::readingIndex(col, row)];
            frmMeres->SetCell(col, row, reading < 0 ? QString() : QString::number(reading));
        }
    }
    frmMain->bringToFront(frmMeres);
}

void TfrmKarton::bDeleteKLClick()
{
    if (!Dialogs::askYesNo(this, QStringLiteral("Biztosan törölni akarja ezt a kezelőlapot?")))
        return;
    const QString error = FileCopy::copyFileTo(sheetPath(), base() + QStringLiteral(".~kl"));
    if (!error.isEmpty()) {
        Dialogs::error(this, error);
        return;
    }
    if (!SheetFile(sheetPath()).removeSheet(m_sheet, base() + QStringLiteral(".kl$")))
        Dialogs::error(this, QStringLiteral("Sikertelen törlés!"));
    KezelolapokShow();
}

void TfrmKarton::bCompareClick()
{
    if (frmCompare)
        frmCompare->Open();
}
