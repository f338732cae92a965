// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardSession.h"
#include "records/HistoryEntry.h"
#include "records/HistoryVersion.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTreeWidget;
class SheetDiagrams;

// A card's change log, newest first, and the version each change replaced, read-only. The open
// card's versions can be put back, and its deleted sheets brought back; a deleted card's history
// is only shown.
class TfrmHistory : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmHistory(QWidget *parent = nullptr);

    // The open card of the cards window; what is put back goes through its session.
    int Open(CardSession &session, const QString &name);
    // A deleted card's history folder (its name in the history folder of `dbPath`).
    int OpenDeleted(const QString &dbPath, const QString &folderName, const QString &id,
                    const QString &name);
    // Reads the log again and selects its newest line.
    void Refresh();

    QLabel *stCard = nullptr;
    QTreeWidget *List = nullptr;
    QLabel *stVersion = nullptr;
    QStackedWidget *pgVersion = nullptr;
    QLabel *stNone = nullptr;
    QList<QLineEdit *> ePersonal;
    QPlainTextEdit *mText = nullptr;
    // Which sheet of a deleted card's sheet file is shown.
    QComboBox *cbSheet = nullptr;
    QLineEdit *eIdopont = nullptr;
    QLineEdit *eHelyszin = nullptr;
    QPlainTextEdit *mStatusz = nullptr;
    QLineEdit *eEgyeb = nullptr;
    QTableWidget *grReadings = nullptr;
    SheetDiagrams *Diagrams = nullptr;
    QPushButton *bPutBack = nullptr;
    QPushButton *bClose = nullptr;

    void ListChange();
    void bPutBackClick();

private:
    enum Page
    {
        PageNone,
        PagePersonal,
        PageText,
        PageSheet
    };

    QString text(const char *key) const;
    QWidget *personalPage();
    QWidget *sheetPage();
    void showCaption();
    void showVersion(const HistoryVersion &version);
    void showSheet(const KLRecord &sheet);
    void showNothing(const QString &why);
    const HistoryEntry *currentEntry() const;
    // What a put back or bring back came to, and the cards window showing the card as it is now.
    void putBackDone(CardSession::Outcome outcome);

    CardSession *m_session = nullptr;
    QString m_folder;
    QString m_historyName;
    QString m_id;
    QString m_name;
    QList<HistoryEntry> m_entries;
    HistoryVersion m_shown;
};

extern TfrmHistory *frmHistory;
