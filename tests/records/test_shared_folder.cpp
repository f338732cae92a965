// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileTime.h"
#include "records/CardArchive.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/CardListing.h"
#include "records/CardLock.h"
#include "records/CardSession.h"
#include "records/PatientId.h"
#include "records/SheetFile.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

const QDate kDay(2024, 5, 17);
using Outcome = CardSession::Outcome;

KLRecord sheet(const QString &tag)
{
    KLRecord record;
    record.Egyeb = tag;
    return record;
}

QStringList tags(const QString &klPath)
{
    QList<KLRecord> sheets;
    SheetFile(klPath).read(sheets);
    QStringList result;
    for (const KLRecord &record : sheets)
        result << record.Egyeb;
    return result;
}

} // namespace

// Two workstations on one database folder, played one step at a time with two card
// sessions.
class TestSharedFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString db() const { return m_dir.filePath("db/"); }
    QString arc() const { return db() + "arc/"; }

    // A card saved by a session of its own, with `sheets` sheets tagged 1, 2, ...
    QString savedCard(const QString &name, int sheets = 0)
    {
        CardSession session(db(), arc());
        session.startNew(kDay);
        CardContent card;
        card.personal = QStringList(CardFile::keys().size());
        card.personal[0] = name;
        if (session.save(card) != Outcome::Done)
            return QString();
        for (int i = 1; i <= sheets; ++i)
            session.appendSheet(sheet(QString::number(i)));
        return session.id();
    }

    // Another workstation's session on the card, its sheet tabs built.
    CardSession opened(const QString &id, CardContent &card)
    {
        CardSession session(db(), arc());
        session.setLockWait(0);
        session.open(id, card);
        QList<KLRecord> sheets;
        session.readSheets(sheets);
        return session;
    }

    // A lock as another workstation leaves it.
    void lockedElsewhere(const QString &id)
    {
        QVERIFY(writeFile(CardLock::pathFor(db() + id), "4242\ntavimer\nRECEPCIO\n"));
    }

private slots:
    void init()
    {
        QDir(db()).removeRecursively();
        QDir().mkpath(arc());
    }

    void newCardsMadeOnOneDayByTwoWorkstationsGetDifferentIds()
    {
        // Both pressed "new card" before either saved: both were offered the same id.
        const QString offeredA = PatientId::NewPatientId(kDay, db(), arc());
        const QString offeredB = PatientId::NewPatientId(kDay, db(), arc());
        QCOMPARE(offeredB, offeredA);
        std::unique_ptr<CardLock> lockA, lockB, lockC;
        const QString idA = CardClaim::claim(offeredA, kDay, db(), arc(), lockA);
        QVERIFY(CardFile::writePersonal(db() + idA + ".sza", {"Anna", "", "", "", "", "", "", "",
                                                              "", "", "", "", "", "", "", idA}));
        const QString idB = CardClaim::claim(offeredB, kDay, db(), arc(), lockB);
        QVERIFY(CardFile::writePersonal(db() + idB + ".sza", {"Bela", "", "", "", "", "", "", "",
                                                              "", "", "", "", "", "", "", idB}));
        QCOMPARE(idA, QString("BXEQ0001"));
        QCOMPARE(idB, QString("BXEQ0002"));
        QCOMPARE(CardFile::readPersonal(db() + idA + ".sza").first(), QString("Anna"));
        QCOMPARE(CardFile::readPersonal(db() + idB + ".sza").first(), QString("Bela"));

        // An id taken in the archive is skipped too; a folder that takes no file gives none.
        QVERIFY(writeFile(arc() + "BXEQ0003.sza", ""));
        QCOMPARE(CardClaim::claim(offeredA, kDay, db(), arc(), lockC), QString("BXEQ0004"));
        QVERIFY(writeFile(m_dir.filePath("plain"), "x"));
        QCOMPARE(CardClaim::claim(offeredA, kDay, m_dir.filePath("plain/"), arc(), lockC),
                 QString());
    }

    void twoHoldersOfOneCardWaitForEachOther()
    {
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0001");
        CardLock lockA(lockPath);
        CardLock lockB(lockPath);
        QVERIFY(lockA.acquire(0));
        QVERIFY(!lockB.acquire(0));
        QVERIFY(lockB.inUse());
        QCOMPARE(lockB.holder().pid, QCoreApplication::applicationPid());
        // A live holder of this host is never removed.
        QVERIFY(!lockB.takeOver());
        lockA.release();
        QVERIFY(lockB.acquire(0));
        lockB.release();
        QVERIFY(!QFile::exists(lockPath));
    }

    void aGuardedLockWaitsForTheGuardAndRemovesOnlyAnOrphan_data()
    {
        QTest::addColumn<int>("guardAgeS");
        QTest::addColumn<bool>("taken");
        QTest::newRow("no guard") << -1 << true;
        QTest::newRow("guard just made") << 0 << false;
        QTest::newRow("guard of a process that stopped in it") << 31 << true;
    }

    void aGuardedLockWaitsForTheGuardAndRemovesOnlyAnOrphan()
    {
        QFETCH(int, guardAgeS);
        QFETCH(bool, taken);
        CardLock::setGuardEverywhere(true);
        const QString path = CardLock::pathFor(db() + "BXEQ0001");
        if (guardAgeS >= 0) {
            QVERIFY(QDir().mkdir(path + ".d"));
            FileTime::setModified(path + ".d", QDateTime::currentDateTime().addSecs(-guardAgeS));
        }
        CardLock lock(path);
        CardLock second(path);
        QCOMPARE(lock.acquire(0), taken);
        QCOMPARE(lock.inUse(), !taken);
        QCOMPARE(QFileInfo::exists(path + ".d"), !taken);
        QVERIFY(!second.acquire(0) && second.inUse());
        lock.release();
        QVERIFY(!QFileInfo::exists(path));
        CardLock::setGuardEverywhere(false);
    }

    void folderThatTakesNoLockFileFailsWithoutClaimingUse()
    {
        QVERIFY(writeFile(m_dir.filePath("plain"), "x"));
        CardLock lock(CardLock::pathFor(m_dir.filePath("plain/BXEQ0001")));
        QVERIFY(!lock.acquire(0));
        QVERIFY(!lock.inUse());
    }

    void newCardTakesTheNextIdWhenAnyFileOfTheProposedOneAppearedMeanwhile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("saved elsewhere") << "db/BXEQ0001.sza";
        QTest::newRow("deleted elsewhere") << "db/BXEQ0001.~sza";
        QTest::newRow("archived elsewhere") << "db/arc/BXEQ0001.sza";
        QTest::newRow("sheet backup in the archive") << "db/arc/BXEQ0001.~kl";
    }

    void newCardTakesTheNextIdWhenAnyFileOfTheProposedOneAppearedMeanwhile()
    {
        QFETCH(QString, file);
        CardSession session(db(), arc());
        QVERIFY(session.startNew(kDay));
        QCOMPARE(session.id(), QString("BXEQ0001"));
        QVERIFY(writeFile(m_dir.filePath(file), "other patient"));
        CardContent card;
        card.personal = QStringList(CardFile::keys().size());
        card.personal[0] = "Kis Anna";
        QCOMPARE(session.save(card), Outcome::Done);
        QCOMPARE(session.id(), QString("BXEQ0002"));
        QCOMPARE(CardFile::readPersonal(db() + "BXEQ0002.sza")[15], QString("BXEQ0002"));
        QCOMPARE(readFile(m_dir.filePath(file)), QByteArray("other patient"));
    }

    void aCardThatLeftTheFolderTakesNoWrite_data()
    {
        QTest::addColumn<bool>("archived");
        QTest::addColumn<int>("operation");
        const char *names[] = {"sheet", "save", "notes", "sheet deletion", "card deletion"};
        for (int operation = 0; operation < 5; ++operation) {
            QTest::addRow("archived, %s", names[operation]) << true << operation;
            QTest::addRow("deleted, %s", names[operation]) << false << operation;
        }
    }

    void aCardThatLeftTheFolderTakesNoWrite()
    {
        QFETCH(bool, archived);
        QFETCH(int, operation);
        const QString id = savedCard("Anna", 1);
        CardContent card;
        CardSession session = opened(id, card);
        if (archived)
            QCOMPARE(CardArchive::moveCard(id, db(), arc(), db()), Outcome::Done);
        else
            CardFile::moveToBackups(db() + id);
        const QStringList before = QDir(db()).entryList(QDir::Files);
        const Outcome outcomes[] = {session.appendSheet(sheet("x")), session.save(card),
                                    session.saveNotes(0, sheet("x")), session.deleteSheet(0),
                                    session.deleteCard()};
        QCOMPARE(outcomes[operation], archived ? Outcome::Archived : Outcome::Gone);
        QCOMPARE(QDir(db()).entryList(QDir::Files), before);
    }

    void sheetsChangedElsewhereAreNeitherReadNorWritten_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("load") << 0;
        QTest::newRow("notes") << 1;
        QTest::newRow("notes saved with the card") << 2;
        QTest::newRow("deletion") << 3;
    }

    void sheetsChangedElsewhereAreNeitherReadNorWritten()
    {
        QFETCH(int, operation);
        const QString id = savedCard("Anna", 3);
        CardContent card;
        CardSession here = opened(id, card);
        CardSession elsewhere = opened(id, card);
        QCOMPARE(elsewhere.deleteSheet(1), Outcome::Done);
        const QByteArray kl = readFile(db() + id + ".kl");
        KLRecord read;
        const Outcome outcomes[] = {here.readSheet(1, read), here.saveNotes(1, sheet("x")),
                                    here.save(card, 1, sheet("x")), here.deleteSheet(1)};
        QCOMPARE(outcomes[operation], Outcome::SheetsChanged);
        QCOMPARE(here.checkSheets(), Outcome::SheetsChanged);
        QCOMPARE(readFile(db() + id + ".kl"), kl);
        QList<KLRecord> sheets;
        QCOMPARE(here.readSheets(sheets), Outcome::Done);
        QCOMPARE(here.readSheet(1, read), Outcome::Done);
        QCOMPARE(read.Egyeb, QString("3"));
    }

    void cardChangedElsewhereIsWrittenOnlyWhenOverwritten()
    {
        const QString id = savedCard("Anna");
        CardContent card;
        CardSession here = opened(id, card);
        CardContent other;
        CardSession elsewhere = opened(id, other);
        other.personal[0] = "Anni";
        QCOMPARE(elsewhere.save(other), Outcome::Done);
        card.personal[0] = "Anna A";
        QCOMPARE(here.save(card), Outcome::ChangedElsewhere);
        QCOMPARE(CardFile::readPersonal(db() + id + ".sza")[0], QString("Anni"));
        QCOMPARE(here.save(card, -1, KLRecord(), true), Outcome::Done);
        card.personal[0] = "Anna B";
        QCOMPARE(here.save(card), Outcome::Done);
        QCOMPARE(CardFile::readPersonal(db() + id + ".sza")[0], QString("Anna B"));
    }

    void anotherWorkstationsLockIsNamedAndTakenOverOnlyOnRequest()
    {
        const QString id = savedCard("Anna");
        CardContent card;
        CardSession here = opened(id, card);
        lockedElsewhere(id);
        card.personal[0] = "Anna A";
        QCOMPARE(here.appendSheet(sheet("x")), Outcome::InUse);
        QCOMPARE(here.save(card), Outcome::InUse);
        QCOMPARE(here.holder().host, QString("RECEPCIO"));
        QCOMPARE(here.holder().pid, qint64(4242));
        QVERIFY(here.holder().since.isValid());
        QCOMPARE(CardFile::readPersonal(db() + id + ".sza")[0], QString("Anna"));
        QVERIFY(here.takeOverLock());
        QCOMPARE(here.save(card), Outcome::Done);
        QVERIFY(!QFile::exists(CardLock::pathFor(db() + id)));
    }

    void accentsAreComposedAndWhatCannotBeStoredIsNamedWithItsCode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("decomposed e acute")
            << QString::fromUtf8("Be\u0301la") << QStringList() << QByteArray("B\xe9la");
        QTest::newRow("mark without a composed form")
            << QString::fromUtf8("x\u0301") << QStringList({QString::fromUtf8("\u0301 (U+0301)")})
            << QByteArray();
        QTest::newRow("check mark")
            << QString::fromUtf8("ok \u2713") << QStringList({QString::fromUtf8("\u2713 (U+2713)")})
            << QByteArray();
    }

    void accentsAreComposedAndWhatCannotBeStoredIsNamedWithItsCode()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, named);
        QFETCH(QByteArray, stored);
        const QString id = savedCard("Anna");
        CardContent card;
        CardSession here = opened(id, card);
        card.anamnesis = typed;
        QCOMPARE(here.save(card), named.isEmpty() ? Outcome::Done : Outcome::Unstorable);
        QCOMPARE(here.unstorable(), named);
        QCOMPARE(readFile(db() + id + ".anm"), stored);
    }

    void archiveMovesNeverReplaceAndLeaveUnsafeCardsWhereTheyAre_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<int>("outcome");
        QTest::newRow("same id archived") << "arc/BXEQ0001.sza" << int(Outcome::TargetTaken);
        QTest::newRow("backup of the id archived")
            << "arc/BXEQ0001.~kl" << int(Outcome::TargetTaken);
        QTest::newRow("a pipe among its files") << "fifo" << int(Outcome::NotRegularFile);
        // Its lock was free: the workstation that claimed it stopped; the card is completed.
        QTest::newRow("claim never completed") << "empty" << int(Outcome::Done);
        QTest::newRow("card locked elsewhere") << "lock" << int(Outcome::InUse);
        QTest::newRow("nothing in the way") << "" << int(Outcome::Done);
    }

    void archiveMovesNeverReplaceAndLeaveUnsafeCardsWhereTheyAre()
    {
        QFETCH(QString, obstacle);
        QFETCH(int, outcome);
        const QString base = db() + "BXEQ0001";
        QVERIFY(
            writeFile(base + ".sza", obstacle == "empty" ? "" : "[SzemelyiAdatok]\r\nNev=A\r\n"));
        QVERIFY(SheetFile(base + ".kl").append(sheet("A")));
        if (obstacle.startsWith("arc/"))
            QVERIFY(writeFile(db() + obstacle, "older card"));
        if (obstacle == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(base + ".~anm").constData(), 0600), 0);
        if (obstacle == "lock")
            lockedElsewhere("BXEQ0001");
        const QStringList arcBefore = QDir(arc()).entryList(QDir::Files | QDir::System);
        QString culprit;
        QCOMPARE(int(CardArchive::moveCard("BXEQ0001", db(), arc(), db(), &culprit, 0)), outcome);
        if (obstacle == "fifo")
            QCOMPARE(culprit, QString("BXEQ0001.~anm"));
        if (outcome != int(Outcome::Done)) {
            QVERIFY(QFile::exists(base + ".sza") && QFile::exists(base + ".kl"));
            QCOMPARE(QDir(arc()).entryList(QDir::Files | QDir::System), arcBefore);
            if (obstacle.startsWith("arc/"))
                QCOMPARE(readFile(db() + obstacle), QByteArray("older card"));
            return;
        }
        QCOMPARE(QDir(arc()).entryList(QDir::Files), QStringList({"BXEQ0001.kl", "BXEQ0001.sza"}));
        QCOMPARE(QDir(db()).entryList({"BXEQ*"}, QDir::Files), QStringList());
        QCOMPARE(CardArchive::moveCard("BXEQ0001", arc(), db(), db()), Outcome::Done);
        QCOMPARE(tags(base + ".kl"), QStringList({"A"}));
    }

    // Each file as "folder/name=content"; the move marker as "marker=target".
    void interruptedMovesAreFinishedOrUndoneAtTheNextTouch_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("after");
        const QStringList whole = {"db/BXEQ0001.sza=A", "db/BXEQ0001.anm=m"};
        QTest::newRow("renamed halfway into the archive")
            << QStringList{"marker=arc", "db/BXEQ0001.sza=A", "arc/BXEQ0001.anm=m"}
            << int(Outcome::Done) << whole;
        QTest::newRow("renamed back, only the marker left")
            << QStringList{"marker=db", "db/BXEQ0001.sza=A", "db/BXEQ0001.anm=m"}
            << int(Outcome::Done) << whole;
        QTest::newRow("copied with a part left over")
            << QStringList{"marker=arc", "db/BXEQ0001.sza=A", "db/BXEQ0001.anm=m",
                           "arc/BXEQ0001.anm=m", "arc/.BXEQ0001.sza.part=A"}
            << int(Outcome::Done) << whole;
        QTest::newRow("copied whole, sources being removed")
            << QStringList{"marker=db", "arc/BXEQ0001.anm=m", "db/BXEQ0001.sza=A",
                           "db/BXEQ0001.anm=m"}
            << int(Outcome::Done) << whole;
        QTest::newRow("halves that differ stay as they are")
            << QStringList{"marker=arc", "db/BXEQ0001.sza=A", "db/BXEQ0001.anm=m",
                           "arc/BXEQ0001.anm=other"}
            << int(Outcome::Split)
            << QStringList{"db/.BXEQ0001.move=arc", "arc/BXEQ0001.anm=other", "db/BXEQ0001.sza=A",
                           "db/BXEQ0001.anm=m"};
        QTest::newRow("claim never completed, alone")
            << QStringList{"db/BXEQ0001.sza="} << int(Outcome::Gone) << QStringList();
        QTest::newRow("claim never completed, with a memo")
            << QStringList{"db/BXEQ0001.sza=", "db/BXEQ0001.anm=m"} << int(Outcome::Done)
            << QStringList{"db/BXEQ0001.sza=ID=BXEQ0001", "db/BXEQ0001.anm=m"};
    }

    void interruptedMovesAreFinishedOrUndoneAtTheNextTouch()
    {
        QFETCH(QStringList, before);
        QFETCH(int, outcome);
        QFETCH(QStringList, after);
        const auto place = [this](const QString &entry) {
            return db() +
                   entry.section('=', 0, 0).replace("marker", ".BXEQ0001.move").remove("db/");
        };
        for (const QString &entry : before)
            QVERIFY(writeFile(place(entry), entry.section('=', 1).toUtf8()));
        // The lists never show a claim never completed; they clear or complete it.
        const QStringList listed = CardListing::lines(db());
        CardSession session(db(), arc());
        CardContent card;
        session.open("BXEQ0001", card);
        QCOMPARE(int(session.appendSheet(sheet("new"))), outcome);
        QCOMPARE(listed.size(), after.filter(QRegularExpression("^db/B.*sza=")).size());
        QStringList found;
        for (const QString &folder : {QString("db/"), QString("arc/")}) {
            const QString path = folder == "db/" ? db() : arc();
            for (const QString &name : QDir(path).entryList(QDir::Files | QDir::Hidden)) {
                const QByteArray bytes = readFile(path + name);
                if (!name.endsWith(".kl") && !name.endsWith(".lck"))
                    found << folder + name + "=" + (bytes.contains("ID=") ? "ID=BXEQ0001" : bytes);
            }
        }
        found.sort();
        after.sort();
        QCOMPARE(found, after);
        QCOMPARE(tags(db() + "BXEQ0001.kl"),
                 outcome == int(Outcome::Done) ? QStringList{"new"} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "test_shared_folder.moc"
