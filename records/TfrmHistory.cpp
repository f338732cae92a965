// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TfrmHistory.h"

#include "app/Dialogs.h"
#include "app/TfrmMain.h"
#include "diagrams/PatientReport.h"
#include "diagrams/SheetDiagrams.h"
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/CardQuestions.h"
#include "records/HistoryLines.h"
#include "records/PatientDisplayName.h"
#include "records/TfrmKarton.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmHistory *frmHistory = nullptr;

namespace {
using Outcome = CardSession::Outcome;

// The cards window's captions of the personal data, in the key order of the .sza file.
const char *const kPersonalLabels[] = {
    "eNev",  "eSzulDatum", "eNeme", "eLanyNev", "eAnyja", "eHelyseg", "eIrsz", "eCim",  "eTel",
    "eFogl", "eTAJ",       "eTMag", "eSuly",    "eDiagn", "eBNO",     "eID",   "eDatum"};

QString karton(const char *key)
{
    return frmMain->CatalogueText(QStringLiteral("Karton"), QLatin1String(key));
}

QLineEdit *readOnlyField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}
} // namespace

TfrmHistory::TfrmHistory(QWidget *parent) : QDialog(parent)
{
    frmHistory = this;
    setWindowTitle(text("Title"));
    setSizeGripEnabled(true);
    resize(1180, 720);

    stCard = new QLabel(this);
    QFont bold = stCard->font();
    bold.setBold(true);
    stCard->setFont(bold);

    List = new QTreeWidget(this);
    List->setColumnCount(4);
    List->setHeaderLabels({text("When"), text("Host"), text("User"), text("What")});
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setAllColumnsShowFocus(true);

    stVersion = new QLabel(this);
    stVersion->setFont(bold);
    pgVersion = new QStackedWidget(this);
    stNone = new QLabel(this);
    stNone->setAlignment(Qt::AlignCenter);
    stNone->setWordWrap(true);
    pgVersion->insertWidget(PageNone, stNone);
    pgVersion->insertWidget(PagePersonal, personalPage());
    mText = new QPlainTextEdit(this);
    mText->setReadOnly(true);
    pgVersion->insertWidget(PageText, mText);
    pgVersion->insertWidget(PageSheet, sheetPage());

    auto *version = new QWidget(this);
    auto *versionLayout = new QVBoxLayout(version);
    versionLayout->setContentsMargins(0, 0, 0, 0);
    versionLayout->addWidget(stVersion);
    versionLayout->addWidget(pgVersion, 1);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(List);
    split->addWidget(version);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({600, 580});

    bPutBack = new QPushButton(text("BtnPutBack"), this);
    bClose = new QPushButton(text("BtnClose"), this);
    for (QPushButton *button : {bPutBack, bClose})
        button->setAutoDefault(false);
    auto *buttons = new QHBoxLayout();
    buttons->addWidget(bPutBack);
    buttons->addStretch(1);
    buttons->addWidget(bClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(stCard);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    connect(List, &QTreeWidget::currentItemChanged, this, &TfrmHistory::ListChange);
    connect(bPutBack, &QPushButton::clicked, this, &TfrmHistory::bPutBackClick);
    connect(bClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(frmMain, &TfrmMain::namesHiddenChanged, this, [this] {
        showCaption();
        ListChange();
    });
}

QString TfrmHistory::text(const char *key) const
{
    return frmMain->CatalogueText(QStringLiteral("History"), QLatin1String(key));
}

QWidget *TfrmHistory::personalPage()
{
    auto *page = new QWidget(this);
    auto *columns = new QHBoxLayout(page);
    QFormLayout *forms[] = {new QFormLayout(), new QFormLayout()};
    const int half = (std::size(kPersonalLabels) + 1) / 2;
    for (int i = 0; i < int(std::size(kPersonalLabels)); ++i) {
        QLineEdit *field = readOnlyField(page);
        forms[i < half ? 0 : 1]->addRow(karton(kPersonalLabels[i]), field);
        ePersonal.append(field);
    }
    columns->addLayout(forms[0], 1);
    columns->addLayout(forms[1], 1);
    return page;
}

QWidget *TfrmHistory::sheetPage()
{
    auto *page = new QWidget(this);
    auto *notes = new QFormLayout();
    cbSheet = new QComboBox(page);
    connect(cbSheet, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < m_shown.sheets.size())
            showSheet(m_shown.sheets[index]);
    });
    notes->addRow(cbSheet);
    eIdopont = readOnlyField(page);
    eHelyszin = readOnlyField(page);
    mStatusz = new QPlainTextEdit(page);
    mStatusz->setReadOnly(true);
    mStatusz->setMaximumHeight(60);
    eEgyeb = readOnlyField(page);
    notes->addRow(karton("eIdopont"), eIdopont);
    notes->addRow(karton("eHelyszin"), eHelyszin);
    notes->addRow(karton("mStatusz"), mStatusz);
    notes->addRow(karton("eEgyeb"), eEgyeb);

    grReadings = new QTableWidget(Evaluation::kMeridians, Evaluation::kSides, page);
    grReadings->setHorizontalHeaderLabels(
        {frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Left")),
         frmMain->CatalogueText(QStringLiteral("Caption"), QStringLiteral("Right"))});
    QStringList meridians;
    for (const char *code : Evaluation::MeridianCodes)
        meridians << QString::fromLatin1(code);
    grReadings->setVerticalHeaderLabels(meridians);
    grReadings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grReadings->setSelectionMode(QAbstractItemView::NoSelection);
    grReadings->verticalHeader()->setDefaultSectionSize(grReadings->fontMetrics().height() + 6);
    grReadings->horizontalHeader()->setDefaultSectionSize(64);
    for (int row = 0; row < Evaluation::kMeridians; ++row) {
        for (int col = 0; col < Evaluation::kSides; ++col) {
            auto *item = new QTableWidgetItem();
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grReadings->setItem(row, col, item);
        }
    }
    grReadings->setFixedWidth(grReadings->verticalHeader()->sizeHint().width() + 2 * 64 +
                              2 * grReadings->frameWidth() + 4);
    Diagrams = new SheetDiagrams(page);

    auto *lower = new QHBoxLayout();
    lower->addWidget(grReadings);
    lower->addWidget(Diagrams, 1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(notes);
    layout->addLayout(lower, 1);
    return page;
}

int TfrmHistory::Open(CardSession &session, const QString &name)
{
    m_session = &session;
    m_folder = frmMain->DBPath;
    m_id = session.id();
    m_historyName = m_id;
    m_name = name;
    Refresh();
    return exec();
}

int TfrmHistory::OpenDeleted(const QString &dbPath, const QString &folderName, const QString &id,
                             const QString &name)
{
    m_session = nullptr;
    m_folder = dbPath;
    m_id = id;
    m_historyName = folderName;
    m_name = name;
    Refresh();
    return exec();
}

void TfrmHistory::showCaption()
{
    const QString name = frmMain->namesHidden() ? PatientDisplayName::initials(m_name) : m_name;
    QString caption = text("Card").replace(QLatin1String("%1"), m_id);
    if (!name.isEmpty())
        caption += QStringLiteral("   ") + name;
    if (!m_session)
        caption += QStringLiteral("   (") + text("ViewOnly") + QLatin1Char(')');
    stCard->setText(caption);
}

void TfrmHistory::Refresh()
{
    showCaption();
    List->clear();
    QString error;
    const CardHistory history(m_folder, m_historyName);
    m_entries = history.entries(&error);
    if (!error.isEmpty())
        Dialogs::error(this, text("ReadErr").replace(QLatin1String("%s"), error));
    const QList<HistoryLines::Line> lines = HistoryLines::lines(m_entries, *frmMain->catalogue());
    for (const HistoryLines::Line &line : lines) {
        auto *item = new QTreeWidgetItem(List, {line.when, line.host, line.user, line.what});
        item->setData(0, Qt::UserRole, line.entry);
    }
    for (int col = 0; col < List->columnCount() - 1; ++col)
        List->resizeColumnToContents(col);
    if (List->topLevelItemCount() > 0)
        List->setCurrentItem(List->topLevelItem(0));
    else
        showNothing(text("NoHistory"));
}

const HistoryEntry *TfrmHistory::currentEntry() const
{
    const QTreeWidgetItem *item = List->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(0, Qt::UserRole).toInt();
    return index >= 0 && index < m_entries.size() ? &m_entries[index] : nullptr;
}

void TfrmHistory::showNothing(const QString &why)
{
    stVersion->clear();
    stNone->setText(why);
    pgVersion->setCurrentIndex(PageNone);
    bPutBack->setText(text("BtnPutBack"));
    bPutBack->setEnabled(false);
}

void TfrmHistory::ListChange()
{
    const HistoryEntry *entry = currentEntry();
    if (!entry) {
        showNothing(text("NoHistory"));
        return;
    }
    if (entry->version.isEmpty()) {
        showNothing(text("NoVersion"));
        return;
    }
    QByteArray bytes;
    QString error;
    const CardHistory history(m_folder, m_historyName);
    if (!history.readVersion(entry->version, bytes, &error)) {
        showNothing(text("VersionErr").replace(QLatin1String("%s"), error));
        return;
    }
    m_shown = HistoryVersion::decode(entry->file, bytes);
    const HistoryLines::PutBack putBack = HistoryLines::putBack(*entry);
    stVersion->setText(text("Before") + QStringLiteral(": ") +
                       HistoryLines::what(*entry, *frmMain->catalogue()));
    bPutBack->setText(
        text(putBack == HistoryLines::PutBack::Sheet ? "BtnBringBack" : "BtnPutBack"));
    bPutBack->setEnabled(m_session && putBack != HistoryLines::PutBack::None &&
                         m_shown.kind != HistoryVersion::Kind::Unreadable);
    showVersion(frmMain->namesHidden() ? m_shown.withNamesHidden() : m_shown);
}

void TfrmHistory::showVersion(const HistoryVersion &version)
{
    switch (version.kind) {
    case HistoryVersion::Kind::Personal:
        for (int i = 0; i < ePersonal.size(); ++i)
            ePersonal[i]->setText(version.personal.value(i));
        pgVersion->setCurrentIndex(PagePersonal);
        break;
    case HistoryVersion::Kind::Text:
        mText->setPlainText(version.text);
        pgVersion->setCurrentIndex(PageText);
        break;
    case HistoryVersion::Kind::Sheets: {
        const QSignalBlocker block(cbSheet);
        cbSheet->clear();
        for (int i = 0; i < version.sheets.size(); ++i)
            cbSheet->addItem(QStringLiteral("%1.  %2").arg(i + 1).arg(version.sheets[i].Idopont));
        cbSheet->setVisible(version.sheets.size() > 1);
        showSheet(version.sheets.first());
        pgVersion->setCurrentIndex(PageSheet);
        break;
    }
    default:
        stNone->setText(text("VersionErr").replace(QLatin1String("%s"), currentEntry()->version));
        pgVersion->setCurrentIndex(PageNone);
    }
}

void TfrmHistory::showSheet(const KLRecord &sheet)
{
    eIdopont->setText(sheet.Idopont);
    eHelyszin->setText(sheet.Helyszin);
    mStatusz->setPlainText(CardFile::toMemoText(sheet.Statusz));
    eEgyeb->setText(sheet.Egyeb);
    for (int row = 0; row < Evaluation::kMeridians; ++row) {
        for (int col = 0; col < Evaluation::kSides; ++col) {
            const qint32 reading = sheet.Readings[KLRecord::readingIndex(col + 1, row + 1)];
            grReadings->item(row, col)->setText(reading < 0 ? QString() : QString::number(reading));
        }
    }
    const Evaluation::Cells cells = Evaluation::storedCells(sheet.Readings);
    Diagrams->setResult(Evaluation::evaluate(cells), PatientReport::locale(*frmMain->catalogue()));
}

void TfrmHistory::bPutBackClick()
{
    const HistoryEntry *shown = currentEntry();
    if (!m_session || !shown)
        return;
    const HistoryEntry entry = *shown;
    const bool sheet = HistoryLines::putBack(entry) == HistoryLines::PutBack::Sheet;
    const QString question =
        sheet ? text("AskBringBack").replace(QLatin1String("%1"), QString::number(entry.sheet))
              : text("AskPutBack")
                    .replace(QLatin1String("%1"),
                             HistoryLines::subject(entry, *frmMain->catalogue()));
    if (!Dialogs::askYesNo(this, question))
        return;
    CardQuestions ask(this, *m_session);
    putBackDone(ask.run(
        [&] { return sheet ? m_session->bringBackSheet(entry) : m_session->putBack(entry); }));
}

void TfrmHistory::putBackDone(Outcome outcome)
{
    if (outcome == Outcome::ChangedElsewhere || outcome == Outcome::SheetsChanged)
        Dialogs::error(this, text("Changed"));
    else if (m_session->failure().isEmpty())
        CardQuestions(this, *m_session).report(outcome, text("PutBackErr"));
    else
        CardQuestions(this, *m_session)
            .report(outcome, text("PutBackErr") + QLatin1Char('\r') + m_session->failure());
    // Whatever came of it, the cards window shows the card as its files now are.
    frmKarton->ShowCardAsStored();
    m_name = frmKarton->PatientName;
    Refresh();
}
