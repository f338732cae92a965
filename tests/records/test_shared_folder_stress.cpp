#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/SheetFile.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

constexpr int kTel = 8;
constexpr int kId = 15;

struct Entry
{
    QString op;
    QString id;
    QString a;
    QString b;
    qint64 ns = 0;
};

struct Throughput
{
    qint64 changes = 0;
    qint64 ms = 0;
};

QString driverPath()
{
    return qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tests/records/stress_cards_driver";
}

QList<Entry> readLog(const QString &path)
{
    QFile file(path);
    QList<Entry> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    while (!file.atEnd()) {
        const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(' ');
        if (f.size() == 5)
            entries.append({f[0], f[1], f[2], f[3], f[4].toLongLong()});
    }
    return entries;
}

} // namespace

// Four processes of the driver work on one folder at once, as four workstations on a
// share would; afterwards the folder must hold exactly what they reported.
class TestSharedFolderStress : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<Entry> m_entries;

    QString db() const { return m_dir.filePath("db/"); }

    Throughput runDrivers(const QList<unsigned> &seeds, int ms)
    {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (unsigned seed : seeds) {
            auto process = std::make_unique<QProcess>();
            process->start(driverPath(), {"run", db(), QString::number(seed), QString::number(ms),
                                          m_dir.filePath(QString("log%1").arg(seed))});
            processes.push_back(std::move(process));
        }
        Throughput total;
        for (auto &process : processes) {
            if (!process->waitForFinished(ms + 30000))
                process->kill();
            process->waitForFinished(1000);
            const QString out = QString::fromUtf8(process->readAllStandardOutput());
            const QRegularExpressionMatch m =
                QRegularExpression("changes=(\\d+) ms=(\\d+)").match(out);
            if (process->exitCode() != 0 || !m.hasMatch())
                qWarning() << "driver failed:" << out << process->readAllStandardError();
            total.changes += m.captured(1).toLongLong();
            total.ms = std::max(total.ms, m.captured(2).toLongLong());
        }
        for (unsigned seed : seeds)
            m_entries += readLog(m_dir.filePath(QString("log%1").arg(seed)));
        return total;
    }

    // Where each card lies; `problems` gets stray files and cards split over both folders.
    QHash<QString, QString> cardFolders(QStringList &problems)
    {
        static const QRegularExpression name("^B[A-Z@]{3}\\d{4}\\.(sza|kl|~kl)$");
        QHash<QString, QString> folderOf;
        for (const QString &folder : {db(), db() + "arc/"}) {
            for (const QString &file : QDir(folder).entryList(QDir::Files)) {
                if (!name.match(file).hasMatch())
                    problems << "stray file " + folder + file;
                const QString id = file.left(8);
                if (folderOf.value(id, folder) != folder)
                    problems << "card in both folders " + id;
                folderOf[id] = folder;
            }
        }
        return folderOf;
    }

    void checkFolder()
    {
        QStringList problems;
        const QHash<QString, QString> folderOf = cardFolders(problems);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QHash<QString, QStringList> expectedSheets;
        QSet<QString> deleted;
        QHash<QString, Entry> lastWrite;
        QHash<QString, Entry> lastHeader;
        QHash<QString, QString> newName;
        for (const Entry &e : m_entries) {
            if (e.op == "NEW") {
                QVERIFY2(!newName.contains(e.id), qPrintable("id given twice: " + e.id));
                newName[e.id] = e.a;
            }
            if (e.op == "APPEND")
                expectedSheets[e.id] << e.a;
            if (e.op == "DELETE")
                deleted << e.a;
            if ((e.op == "NEW" || e.op == "SAVE") && lastWrite.value(e.id).ns < e.ns)
                lastWrite[e.id] = e;
            const QString sheetKey = e.id + ' ' + e.a;
            if (e.op == "HEADER" && lastHeader.value(sheetKey).ns < e.ns)
                lastHeader[sheetKey] = e;
        }
        for (auto it = newName.cbegin(); it != newName.cend(); ++it)
            QVERIFY2(folderOf.contains(it.key()), qPrintable("card lost: " + it.key()));

        for (auto it = folderOf.cbegin(); it != folderOf.cend(); ++it) {
            const QString id = it.key();
            const QString base = it.value() + id;
            QVERIFY2(QFile::exists(base + ".sza"), qPrintable(id));
            const QStringList values = CardFile::readPersonal(base + ".sza");
            QVERIFY(values[kId] == id || values[0].isEmpty());
            if (newName.contains(id))
                QCOMPARE(values[0], newName[id]);
            if (lastWrite.contains(id))
                QCOMPARE(values[kTel], lastWrite[id].op == "SAVE" ? lastWrite[id].a : QString());

            QFile kl(base + ".kl");
            QList<KLRecord> sheets;
            if (kl.exists()) {
                QVERIFY(SheetFile(kl.fileName()).read(sheets));
                QCOMPARE(kl.size(), qint64(sheets.size()) * KLRecord::kRecordSize);
            }
            QStringList found;
            for (const KLRecord &sheet : sheets) {
                found << sheet.Egyeb;
                const QString sheetKey = id + ' ' + sheet.Egyeb;
                if (lastHeader.contains(sheetKey))
                    QCOMPARE(sheet.Statusz, lastHeader[sheetKey].b);
            }
            QStringList expected;
            for (const QString &tag : expectedSheets.value(id)) {
                if (!deleted.contains(tag))
                    expected << tag;
            }
            found.sort();
            expected.sort();
            QCOMPARE(found, expected);
        }
    }

    int count(const QString &op) const
    {
        return int(std::count_if(m_entries.cbegin(), m_entries.cend(),
                                 [&op](const Entry &e) { return e.op == op; }));
    }

private slots:
    void fourWorkstationsAtOnceKeepEveryReportedChangeAndNeverShareAnId()
    {
        QVERIFY(QDir().mkpath(db() + "arc"));
        const Throughput one = runDrivers({1}, 1500);
        checkFolder();
        const Throughput four = runDrivers({11, 12, 13, 14}, 3000);
        checkFolder();
        QVERIFY(count("NEW") > 10 && count("APPEND") > 10 && count("DELETE") > 0);
        QVERIFY(count("HEADER") > 0 && count("SAVE") > 0 && count("ARC") > 0);
        qInfo("one process: %.0f changes/s; four processes: %.0f changes/s together "
              "(%d conflicts noticed, %d waits given up)",
              one.changes * 1000.0 / std::max<qint64>(one.ms, 1),
              four.changes * 1000.0 / std::max<qint64>(four.ms, 1), count("CONFLICT"),
              count("INUSE"));
    }

    void lockOfAKilledProcessIsTakenOverAfterThirtySeconds()
    {
        QVERIFY(QDir().mkpath(db()));
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0001");
        QProcess holder;
        holder.start(driverPath(), {"hold", lockPath});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));
        const qint64 pid = holder.processId();
        holder.kill();
        QVERIFY(holder.waitForFinished(5000));
        QVERIFY(QFile::exists(lockPath));

        // The file names the holder: host, process and the time it took the lock.
        const QStringList left = QString::fromUtf8(readFile(lockPath)).split("\r\n");
        QCOMPARE(left.value(0), QSysInfo::machineHostName());
        QCOMPARE(left.value(1), QString::number(pid));
        QDateTime now = QDateTime::fromString(left.value(2), Qt::ISODateWithMs);
        QVERIFY(now.isValid());
        const CardLock::Clock clock{[&now] { return now; },
                                    [&now](int ms) { now = now.addMSecs(ms); }};
        now = now.addSecs(20);
        CardLock soon(lockPath, clock);
        QVERIFY(!soon.acquire());
        QVERIFY(soon.inUse());
        now = now.addSecs(6);
        CardLock late(lockPath, clock);
        QVERIFY(late.acquire(0));
        QVERIFY(!QFile::exists(db() + "BXEQ0001.~lck"));
        late.release();
        QVERIFY(!QFile::exists(lockPath));
    }
};

QTEST_GUILESS_MAIN(TestSharedFolderStress)
#include "test_shared_folder_stress.moc"
