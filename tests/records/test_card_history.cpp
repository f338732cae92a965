// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileError.h"
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"
#include "records/CardArchive.h"
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/CardSession.h"
#include "support/FileBytes.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = CardSession::Outcome;

class TestCardHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CardSession> m_session;
    CardContent m_content;
    QString db() const { return m_dir->path() + "/db/"; }
    QString arc() const { return db() + "arc/"; }
    QString id() const { return m_session->id(); }
    QList<HistoryEntry> entries() const { return CardHistory(db(), id()).entries(); }
    QByteArray version(const HistoryEntry &entry, const QString &folder = QString()) const
    {
        QByteArray bytes;
        CardHistory(folder.isEmpty() ? db() : folder, id()).readVersion(entry.version, bytes);
        return bytes;
    }
    static KLRecord sheet(const QString &note)
    {
        KLRecord record;
        record.Egyeb = note;
        record.Readings.fill(int(note.size()));
        return record;
    }
    // Every file below `folder`, with its bytes.
    static QMap<QString, QByteArray> tree(const QString &folder)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path.mid(folder.size()), readFile(path));
        }
        return files;
    }

private slots:
    // A card of two sheets: created, its anamnesis and two sheets logged.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(arc());
        m_session = std::make_unique<CardSession>(db(), arc());
        QVERIFY(m_session->startNew(QDate(2024, 5, 17)));
        m_content.personal = QStringList(CardFile::keys().size());
        m_content.personal[0] = "Kovács Éva";
        m_content.personal[1] = "1970.01.02";
        m_content.anamnesis = "első";
        QCOMPARE(m_session->save(m_content), Outcome::Done);
        QCOMPARE(m_session->appendSheet(sheet("a")), Outcome::Done);
        QCOMPARE(m_session->appendSheet(sheet("bb")), Outcome::Done);
        QList<KLRecord> sheets;
        QCOMPARE(m_session->readSheets(sheets), Outcome::Done);
        QCOMPARE(entries().size(), 4);
    }

    void eachChangeKeepsWhatItReplacedAndLogsOneLine_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("line");
        QTest::newRow("name") << 0 << "personal .sza 0";
        QTest::newRow("anamnesis only") << 1 << "anamnesis .anm 0";
        QTest::newRow("complaints") << 2 << "complaints .pan 0";
        QTest::newRow("notes of sheet 2") << 3 << "sheet-notes .kl 2";
        QTest::newRow("sheet 1 deleted") << 4 << "sheet-deleted .kl 1";
        QTest::newRow("sheet added") << 5 << "sheet-added .kl 3";
        QTest::newRow("nothing changed") << 6 << "";
    }
    void eachChangeKeepsWhatItReplacedAndLogsOneLine()
    {
        QFETCH(int, change);
        QFETCH(QString, line);
        const QString file = line.section(' ', 1, 1);
        const int sheet = line.section(' ', 2).toInt();
        const QByteArray before = readFile(m_session->base() + file);
        const QByteArray replaced = sheet ? before.mid((sheet - 1) * 464, 464) : before;
        KLRecord notes = this->sheet("bb");
        notes.Statusz = "javítva";
        CardContent content = m_content;
        content.personal[0] = change == 0 ? "Kovács Anna" : content.personal[0];
        content.anamnesis = change == 1 ? "második" : content.anamnesis;
        content.complaints = change == 2 ? "fáj" : content.complaints;
        const Outcome outcome = change == 3   ? m_session->saveNotes(1, notes)
                                : change == 4 ? m_session->deleteSheet(0)
                                : change == 5 ? m_session->appendSheet(this->sheet("ccc"))
                                              : m_session->save(content);
        QCOMPARE(outcome, Outcome::Done);
        QCOMPARE(entries().size(), line.isEmpty() ? 4 : 5);
        const HistoryEntry last = entries().last();
        if (line.isEmpty())
            return;
        QCOMPARE(QString("%1 %2 %3").arg(last.action, last.file).arg(last.sheet), line);
        QCOMPARE(last.host, QSysInfo::machineHostName());
        QVERIFY(!last.user.isEmpty());
        QVERIFY(qAbs(last.when.secsTo(QDateTime::currentDateTime())) < 600);
        QCOMPARE(version(last), change == 5 ? QByteArray() : replaced);
        if (change < 3)
            QCOMPARE(last.digest, CardHistory::digest(readFile(m_session->base() + file)));
        // The folder lists as before: the card's own files and the history folder only.
        const QStringList names = QDir(db()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString &name : names)
            QVERIFY2(name.startsWith(id() + ".") || name == "arc" || name == "history",
                     qPrintable(name));
    }

    void aVersionThatCannotBeKeptStopsTheChangeAndSaysWhere()
    {
        const QByteArray before = readFile(m_session->base() + ".sza");
        QVERIFY(writeFile(CardHistory(db(), id()).versionsPath().chopped(1), "no folder"));
        m_content.personal[0] = "Kovács Anna";
        FileError::clear();
        QCOMPARE(m_session->save(m_content), Outcome::Failed);
        QCOMPARE(readFile(m_session->base() + ".sza"), before);
        QVERIFY2(FileError::last().contains("versions"), qPrintable(FileError::last()));
    }

    void putBackAndBringBackRestoreWhatWasThere()
    {
        const QByteArray first = readFile(m_session->base() + ".sza");
        const QByteArray sheets = readFile(m_session->sheetPath());
        for (const char *name : {"Kovács Anna", "Kovács Béla"}) {
            m_content.personal[0] = name;
            QCOMPARE(m_session->save(m_content), Outcome::Done);
        }
        const QByteArray second = readFile(m_session->base() + ".sza");
        QCOMPARE(m_session->putBack(entries()[4]), Outcome::Done);
        QCOMPARE(readFile(m_session->base() + ".sza"), first);
        const HistoryEntry putBack = entries().last();
        QCOMPARE(putBack.action + putBack.note, "put-back" + entries()[4].version);
        QCOMPARE(version(putBack), second);

        QCOMPARE(m_session->deleteSheet(0), Outcome::Done);
        QCOMPARE(m_session->bringBackSheet(entries().last()), Outcome::Done);
        QCOMPARE(readFile(m_session->sheetPath()), sheets);
        QCOMPARE(entries().last().action + QString::number(entries().last().sheet),
                 QString("sheet-brought-back1"));
    }

    void aDeletedCardComesBackUnderItsIdOrANewOne()
    {
        const QString oldId = id();
        const QByteArray anm = readFile(m_session->base() + ".anm");
        const QByteArray kl = readFile(m_session->sheetPath());
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(m_session->deleteCard(), Outcome::Done);
            QVERIFY(!QFileInfo::exists(CardHistory(db(), oldId).path()));
            const QList<CardHistory::DeletedCard> deleted = CardHistory::deletedCards(db());
            QCOMPARE(deleted.size(), 1);
            QCOMPARE(deleted[0].name + deleted[0].birthDate, QString("Kovács Éva1970.01.02"));
            // The second time another card holds the id.
            if (round == 1)
                QVERIFY(writeFile(arc() + oldId + ".sza", "[SzemelyiAdatok]\r\n"));
            QString newId;
            QCOMPARE(CardSession::bringBackCard(db(), arc(), deleted[0].folderName, &newId),
                     Outcome::Done);
            QCOMPARE(newId == oldId, round == 0);
            QCOMPARE(readFile(db() + newId + ".kl") + readFile(db() + newId + ".anm"), kl + anm);
            QCOMPARE(CardFile::readPersonal(db() + newId + ".sza")[15], newId);
            const QList<HistoryEntry> lines = CardHistory(db(), newId).entries();
            QCOMPARE(lines.last().action + lines.last().note,
                     "card-brought-back" + QString(round ? oldId : ""));
            QCOMPARE(lines[lines.size() - 2].action, QString("card-deleted"));
            CardContent content;
            QCOMPARE(m_session->open(newId, content), Outcome::Done);
        }
    }

    void twoWorkstationsChangingOneCardLeaveBothChanges()
    {
        const QString driver =
            qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tests/records/history_driver";
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const char *tag : {"x", "y"}) {
            processes.push_back(std::make_unique<QProcess>());
            processes.back()->start(driver, {db(), id(), tag, "10"});
        }
        for (auto &process : processes) {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitCode(), 0);
        }
        QList<KLRecord> sheets;
        QCOMPARE(m_session->readSheets(sheets), Outcome::Done);
        QStringList lines;
        for (const HistoryEntry &entry : entries())
            lines << entry.action + QString::number(entry.sheet);
        QCOMPARE(lines.count("personal0"), 20);
        QStringList notes, expected;
        for (int n = 0; n < 20; ++n) {
            notes << sheets.value(n + 2).Egyeb;
            expected << QString("xy")[n % 2] + QString::number(n / 2);
            QCOMPARE(lines.count("sheet-added" + QString::number(n + 3)), 1);
        }
        notes.sort();
        expected.sort();
        QCOMPARE(notes, expected);
    }

    void archiveMovesCarryTheHistoryAndAnInterruptedOneSettles()
    {
        m_content.personal[0] = "Kovács Anna";
        QCOMPARE(m_session->save(m_content), Outcome::Done);
        QMap<QString, QByteArray> history = tree(CardHistory(db(), id()).path());
        history.remove("changes.log");
        QCOMPARE(CardArchive::moveCard(id(), db(), arc(), db()), Outcome::Done);
        QVERIFY(!QFileInfo::exists(CardHistory(db(), id()).path()));
        QList<HistoryEntry> lines = CardHistory(arc(), id()).entries();
        QCOMPARE(lines.last().action, QString("card-archived"));
        QMap<QString, QByteArray> moved = tree(CardHistory(arc(), id()).path());
        moved.remove("changes.log");
        QCOMPARE(moved, history);
        // Interrupted after the history went, before the card's files did.
        QCOMPARE(CardArchive::moveCard(id(), arc(), db(), db()), Outcome::Done);
        QVERIFY(writeFile(CardArchive::moveMarker(db(), id()), "arc"));
        QVERIFY(QDir().rename(CardHistory(db(), id()).path(), CardHistory(arc(), id()).path()));
        CardContent content;
        QCOMPARE(m_session->open(id(), content), Outcome::Done);
        lines = entries();
        QCOMPARE(lines.last().action + lines.last().note,
                 QString("card-activatedmove interrupted"));
        QCOMPARE(lines.size(), 8);
        moved = tree(CardHistory(db(), id()).path());
        moved.remove("changes.log");
        QCOMPARE(moved, history);
    }

    void pruneDropsOnlyLinesAndVersionsBeforeTheCutOff()
    {
        CardHistory history(db(), id());
        HistoryEntry old;
        old.action = "personal";
        old.file = ".sza";
        old.when = QDateTime::currentDateTime().addYears(-3);
        old.version = history.keepVersion(".sza", "old");
        QVERIFY(history.log(old));
        QCOMPARE(CardHistory::prune(db(), 2), 1);
        const QList<HistoryEntry> lines = entries();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.last().action + lines.last().note,
                 "history-pruned" + QDate::currentDate().addYears(-2).toString(Qt::ISODate));
        QVERIFY(!QFileInfo::exists(history.versionsPath() + old.version));
        QCOMPARE(CardHistory::prune(db(), 2), 0);
        QCOMPARE(entries().size(), 5);
    }

    void aBackupAndItsRestoreKeepTheHistory()
    {
        m_content.personal[0] = "Kovács Anna";
        QCOMPARE(m_session->save(m_content), Outcome::Done);
        QCOMPARE(m_session->deleteCard(), Outcome::Done);
        QVERIFY(m_session->startNew(QDate(2024, 5, 17)));
        QCOMPARE(m_session->save(m_content), Outcome::Done);
        QCOMPARE(CardArchive::moveCard(id(), db(), arc(), db()), Outcome::Done);
        const BackupResult written =
            BackupWriter::write(db(), m_dir->path() + "/zip", QDateTime::currentDateTime());
        QVERIFY2(written.ok(), qPrintable(written.path));
        const QString restored = m_dir->path() + "/restored/";
        QVERIFY(BackupRestore::restore(written.path, restored).ok());
        const QMap<QString, QByteArray> kept = tree(db() + "history/");
        QCOMPARE(kept.size(), 6);
        QCOMPARE(tree(restored + "history/"), kept);
        QCOMPARE(tree(restored + "arc/history/"), tree(arc() + "history/"));
    }
};

QTEST_GUILESS_MAIN(TestCardHistory)
#include "test_card_history.moc"
