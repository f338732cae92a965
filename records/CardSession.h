// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CardLock.h"
#include "records/HistoryEntry.h"
#include "records/KLRecord.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// What the cards window shows of a card's files.
struct CardContent
{
    // The seventeen values of the .sza file in key order.
    QStringList personal;
    QString anamnesis;
    QString complaints;
    // The first of the card's files, sheets included, that is there but cannot be read.
    QString damaged;
};

// Everything that reads or writes the records of one card, for one workstation among
// several on a shared folder. Every check that decides what is written is made while
// the card's lock is held, against the files as they are at that moment; the outcome
// says what happened, and the window decides what to ask or show.
class CardSession
{
public:
    enum class Outcome
    {
        Done,
        // The card's files are not as they were read here.
        ChangedElsewhere,
        // The sheet file is not as the sheet tabs show it.
        SheetsChanged,
        // Another holder keeps the card's lock: holder().
        InUse,
        // The card left the database folder: moved to the archive, or deleted.
        Archived,
        Gone,
        // The sheet file has unreadable bytes after sheetsBeforeDamage() sheets.
        Damaged,
        // Characters the files cannot hold: unstorable().
        Unstorable,
        Failed,
        NoIdLeft,
        // Archive moves: the id has files in the other folder; a file is no regular file
        // (culprit()); the card's .sza is still empty, a claim being written.
        TargetTaken,
        NotRegularFile,
        Unfinished,
        // The card lies in both folders with different contents: nothing is touched.
        Split,
    };

    CardSession(QString dbPath, QString arcPath);

    // The folders as the settings give them at the time of an operation.
    void setFolders(const QString &dbPath, const QString &arcPath)
    {
        m_db = dbPath;
        m_arc = arcPath;
    }
    const QString &id() const { return m_id; }
    QString base() const { return m_db + m_id; }
    QString sheetPath() const { return base() + QStringLiteral(".kl"); }
    // A new card whose id is only proposed: its first save claims an id.
    bool isNew() const { return m_newDate.isValid(); }

    // Proposes an id for a new card; nothing is written. False when no id is left.
    bool startNew(const QDate &today);
    // Fills `content`; Failed when a memo exists but cannot be read (the rest is filled).
    Outcome open(const QString &id, CardContent &content);
    void close();

    // Writes the card and, with `notesIndex` >= 0, the notes over that sheet. A card changed
    // elsewhere is written only with `overwrite`.
    Outcome save(const CardContent &content, int notesIndex = -1,
                 const KLRecord &notes = KLRecord(), bool overwrite = false);
    // The complete sheets; the sheet tabs show these from now on.
    Outcome readSheets(QList<KLRecord> &sheets);
    const QList<KLRecord> &shownSheets() const { return m_sheets; }
    Outcome appendSheet(const KLRecord &sheet);
    Outcome saveNotes(int index, const KLRecord &notes);
    Outcome readSheet(int index, KLRecord &sheet) const;
    // Whether the sheet file still is as the tabs show it.
    Outcome checkSheets() const;
    Outcome deleteSheet(int index, const QString &cannotOpen = QString(),
                        const QString &cannotCreate = QString());
    Outcome deleteCard();

    // History: each of these is itself a logged change and keeps what it replaces.
    // Puts back the version of .sza, .anm or .pan that `entry` kept, or a sheet's notes.
    Outcome putBack(const HistoryEntry &entry);
    // Re-inserts the sheet of a "sheet-deleted" entry at its old place, or appends it when
    // the card has fewer sheets now.
    Outcome bringBackSheet(const HistoryEntry &deleted);
    // A deleted card returns under its id when that id is free (no .sza in either folder),
    // else under a new id of today; `id` receives the id it returned under, `failure` why not.
    static Outcome bringBackCard(const QString &dbPath, const QString &arcPath,
                                 const QString &deletedFolderName, QString *id,
                                 QString *failure = nullptr);

    // After InUse: who keeps the card, and removing that lock on the user's word.
    const CardLock::Holder &holder() const { return m_holder; }
    bool takeOverLock();
    void setLockWait(int ms) { m_lockWaitMs = ms; }
    const QStringList &unstorable() const { return m_unstorable; }
    int sheetsBeforeDamage() const { return m_damagedAfter; }
    // The copy's failure text, or after Split the file that differs between the folders.
    const QString &failure() const { return m_failure; }

    // A new card's anamnesis starts from "anmminta.txt" in the working folder, if any.
    static QString anamnesisTemplate();
    // Each character, after composing accents, that Windows-1250 cannot hold, with its code.
    static QStringList unstorableCharacters(const QString &text);

private:
    using Snapshot = QHash<QString, QByteArray>;

    Outcome locked(const std::function<Outcome()> &work);
    Outcome stillHere() const;
    bool needsSettling() const;
    Snapshot snapshot() const;
    static QByteArray fingerprint(const QString &path);
    static QByteArray fingerprintOf(const QByteArray &bytes);
    Outcome claim();
    Outcome writeCard(const CardContent &content);
    Outcome append(const KLRecord &sheet);
    Outcome writeNotes(int index, const KLRecord &notes);
    // One file of the card rewritten by `write`: the version it replaces kept first when
    // `changes` foresees a change, one line logged when its bytes did change.
    Outcome writeLogged(const QString &extension, const QString &action, bool changes,
                        const std::function<bool()> &write, const QString &note = QString());
    // One sheet's change: `replaced` (if any) kept, `write` done, `entry` logged.
    Outcome sheetChange(HistoryEntry entry, const QByteArray &replaced,
                        const std::function<bool()> &write);
    Outcome logged(const HistoryEntry &entry);
    Outcome logLines(Outcome outcome);
    Outcome putBackFile(const HistoryEntry &entry, const QByteArray &bytes);
    Outcome putBackNotes(const HistoryEntry &entry, const QByteArray &bytes);
    Outcome removeCardFiles();

    QString m_db;
    QString m_arc;
    QString m_id;
    QDate m_newDate;
    // The card's files as last read or written here.
    Snapshot m_seen;
    // The sheet file as the tabs show it.
    QByteArray m_sheetsSeen;
    QList<KLRecord> m_sheets;
    CardLock::Holder m_holder;
    // Held from a new card's claim until its first write.
    std::unique_ptr<CardLock> m_claimLock;
    int m_lockWaitMs = CardLock::kWaitMs;
    QStringList m_unstorable;
    int m_damagedAfter = -1;
    QString m_failure;
    // Log lines of the operation under way, written when it ends.
    QList<HistoryEntry> m_lines;
};
