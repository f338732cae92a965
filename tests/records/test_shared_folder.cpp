#include "records/CardArchive.h"
#include "records/CardClaim.h"
#include "records/CardFile.h"
#include "records/CardFingerprint.h"
#include "records/CardLock.h"
#include "records/PatientId.h"
#include "records/SheetFile.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate kDay(2024, 5, 17);
const QDateTime kStart(kDay, QTime(10, 0), Qt::UTC);

// Time that moves only when a waiter sleeps, so that a five-second wait takes none.
struct FakeClock
{
    QDateTime now = kStart;
    int sleeps = 0;

    CardLock::Clock clock()
    {
        return {[this] { return now; },
                [this](int ms) {
                    ++sleeps;
                    now = now.addMSecs(ms);
                }};
    }
};

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

// Two workstations on one database folder, played one step at a time with two sets of
// record objects.
class TestSharedFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString db() const { return m_dir.filePath("db/"); }
    QString arc() const { return db() + "arc/"; }

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
        const QString idA = CardClaim::claim(offeredA, kDay, db(), arc());
        QVERIFY(CardFile::writePersonal(db() + idA + ".sza", {"Anna", "", "", "", "", "", "", "",
                                                              "", "", "", "", "", "", "", idA}));
        const QString idB = CardClaim::claim(offeredB, kDay, db(), arc());
        QVERIFY(CardFile::writePersonal(db() + idB + ".sza", {"Bela", "", "", "", "", "", "", "",
                                                              "", "", "", "", "", "", "", idB}));
        QCOMPARE(idA, QString("BXEQ0001"));
        QCOMPARE(idB, QString("BXEQ0002"));
        QCOMPARE(CardFile::readPersonal(db() + idA + ".sza").first(), QString("Anna"));
        QCOMPARE(CardFile::readPersonal(db() + idB + ".sza").first(), QString("Bela"));

        // An id taken in the archive is skipped too; a folder that takes no file gives none.
        QVERIFY(writeFile(arc() + "BXEQ0003.sza", ""));
        QCOMPARE(CardClaim::claim(offeredA, kDay, db(), arc()), QString("BXEQ0004"));
        QVERIFY(writeFile(m_dir.filePath("plain"), "x"));
        QCOMPARE(CardClaim::claim(offeredA, kDay, m_dir.filePath("plain/"), arc()), QString());
    }

    void sheetAppendsOfTwoWorkstationsWaitForEachOtherAndKeepBothSheets()
    {
        const QString kl = db() + "BXEQ0001.kl";
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0001");
        FakeClock clockA;
        FakeClock clockB;
        CardLock lockA(lockPath, clockA.clock());
        CardLock lockB(lockPath, clockB.clock());
        QVERIFY(lockA.acquire());
        QVERIFY(QFile::exists(lockPath));

        // B waits its five seconds, then gives up without touching the sheets.
        QVERIFY(!lockB.acquire());
        QVERIFY(lockB.inUse());
        QCOMPARE(clockA.now.msecsTo(clockB.now), CardLock::kWaitMs);
        QVERIFY(clockB.sleeps > 1);
        QVERIFY(!QFile::exists(kl));

        QVERIFY(SheetFile(kl).append(sheet("A")));
        lockA.release();
        QVERIFY(!QFile::exists(lockPath));
        QVERIFY(lockB.acquire());
        QVERIFY(SheetFile(kl).append(sheet("B")));
        lockB.release();
        QCOMPARE(tags(kl), QStringList({"A", "B"}));
        QVERIFY(!QFile::exists(lockPath));
    }

    void cardSavedElsewhereNoLongerMatchesWhatWasRead()
    {
        const QString base = db() + "BXEQ0001";
        QVERIFY(CardFile::writePersonal(base + ".sza", {"Anna"}));
        CardFingerprint seenByA;
        seenByA.take(base);
        QVERIFY(seenByA.matches(base));
        // B saves the card with a name of the same length, within the same moment.
        QVERIFY(CardFile::writePersonal(base + ".sza", {"Anni"}));
        QVERIFY(!seenByA.matches(base));
        QVERIFY(seenByA.matches(base, "kl"));
        seenByA.take(base, "sza");
        QVERIFY(seenByA.matches(base));
        QVERIFY(SheetFile(base + ".kl").append(sheet("B")));
        QVERIFY(!seenByA.matches(base, "kl"));
    }

    void holderWhoseLockWasTakenOverLeavesTheNewLockInPlace()
    {
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0001");
        FakeClock slow;
        FakeClock other;
        CardLock first(lockPath, slow.clock());
        QVERIFY(first.acquire(0));
        other.now = kStart.addSecs(31);
        CardLock second(lockPath, other.clock());
        QVERIFY(second.acquire(0));
        first.release();
        QVERIFY(QFile::exists(lockPath));
        second.release();
        QVERIFY(!QFile::exists(lockPath));
    }

    void folderThatTakesNoLockFileFailsAtOnceWithoutClaimingUse()
    {
        QVERIFY(writeFile(m_dir.filePath("plain"), "x"));
        FakeClock clock;
        CardLock lock(CardLock::pathFor(m_dir.filePath("plain/BXEQ0001")), clock.clock());
        QVERIFY(!lock.acquire());
        QVERIFY(!lock.inUse());
        QCOMPARE(clock.sleeps, 0);
    }

    void archiveNeverMovesACardWhoseLockIsHeld()
    {
        const QString base = db() + "BXEQ0001";
        QVERIFY(writeFile(base + ".sza", "[SzemelyiAdatok]\r\nNev=A\r\n"));
        QVERIFY(SheetFile(base + ".kl").append(sheet("A")));
        FakeClock clock;
        CardLock held(CardLock::pathFor(base), clock.clock());
        QVERIFY(held.acquire(0));
        QCOMPARE(CardArchive::moveUnlockedCard("BXEQ0001", db(), arc(), db(), clock.clock()),
                 CardArchive::MoveResult::InUse);
        QVERIFY(QFile::exists(base + ".sza") && QFile::exists(base + ".kl"));
        QCOMPARE(QDir(arc()).entryList(QDir::Files), QStringList());

        held.release();
        QCOMPARE(CardArchive::moveUnlockedCard("BXEQ0001", db(), arc(), db(), clock.clock()),
                 CardArchive::MoveResult::Moved);
        QCOMPARE(QDir(arc()).entryList(QDir::Files), QStringList({"BXEQ0001.kl", "BXEQ0001.sza"}));
        QCOMPARE(QDir(db()).entryList(QDir::Files), QStringList());
        QCOMPARE(CardArchive::moveUnlockedCard("BXEQ0001", arc(), db(), db(), clock.clock()),
                 CardArchive::MoveResult::Moved);
        QCOMPARE(QDir(db()).entryList(QDir::Files), QStringList({"BXEQ0001.kl", "BXEQ0001.sza"}));
    }
};

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "test_shared_folder.moc"
