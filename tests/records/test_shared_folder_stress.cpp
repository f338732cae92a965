// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardLock.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString driverPath()
{
    return qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tests/records/stress_cards_driver";
}

// Starts the driver once per argument list and returns what each printed.
QStringList runAll(const QList<QStringList> &argumentLists, int timeoutMs)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList &arguments : argumentLists) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(driverPath(), arguments);
    }
    QStringList outputs;
    for (auto &process : processes) {
        if (!process->waitForFinished(timeoutMs))
            process->kill();
        process->waitForFinished(1000);
        outputs << QString::fromUtf8(process->readAllStandardOutput()) +
                       (process->exitCode() == 0 ? QString() : QStringLiteral(" exit!=0"));
    }
    return outputs;
}

} // namespace

// Processes of the driver work on one folder at once, as workstations on a share would;
// afterwards the folder must hold exactly what they reported.
class TestSharedFolderStress : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // Every log so far: the folder holds what all runs reported.
    QStringList m_logs;

    QString db() const { return m_dir.filePath("db/"); }

    QString runAndCheck(const QList<unsigned> &seeds, int ms)
    {
        QList<QStringList> runs;
        for (unsigned seed : seeds) {
            const QString log = m_dir.filePath(QString("log%1").arg(seed));
            runs << QStringList{"run", db(), QString::number(seed), QString::number(ms), log};
            m_logs << log;
        }
        const QStringList check = QStringList{"check", db()} + m_logs;
        const QStringList ran = runAll(runs, ms + 30000);
        for (const QString &out : ran)
            qInfo("%s", qPrintable(out.trimmed()));
        const QString checked = runAll({check}, 30000).value(0);
        qInfo("%s", qPrintable(checked.trimmed()));
        return checked;
    }

private slots:
    void fourWorkstationsAtOnceKeepEveryReportedChangeAndNeverShareAnId()
    {
        QVERIFY(QDir().mkpath(db() + "arc"));
        const QString one = runAndCheck({1}, 1500);
        QVERIFY2(one.startsWith("problems=0"), qPrintable(one));
        const QString four = runAndCheck({11, 12, 13, 14}, 3000);
        QVERIFY2(four.startsWith("problems=0"), qPrintable(four));
        for (const char *op : {"NEW", "APPEND", "DELETE", "HEADER", "SAVE", "ARC"})
            QVERIFY2(!four.contains(QString(" %1=0 ").arg(op)), op);
    }

    void lockOfAProcessThatDiedOnThisHostIsTakenAtOnce()
    {
        QVERIFY(QDir().mkpath(db()));
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0001");
        QProcess holder;
        holder.start(driverPath(), {"hold", lockPath});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));
        CardLock live(lockPath);
        QVERIFY(!live.acquire(0));
        QVERIFY(live.inUse());
        QCOMPARE(live.holder().pid, holder.processId());
        QCOMPARE(live.holder().host, QSysInfo::machineHostName());
        holder.kill();
        QVERIFY(holder.waitForFinished(5000));
        QVERIFY(QFile::exists(lockPath));
        CardLock after(lockPath);
        QVERIFY(after.acquire(0));
        after.release();
        QVERIFY(!QFile::exists(lockPath));
    }

    void fiveProcessesContendingForADeadLockNeverOverlap()
    {
        QVERIFY(QDir().mkpath(db()));
        QProcess gone;
        gone.start(driverPath(), {});
        QVERIFY(gone.waitForStarted(10000));
        const QString deadPid = QString::number(gone.processId());
        QVERIFY(gone.waitForFinished(10000));
        const QString lockPath = CardLock::pathFor(db() + "BXEQ0002");
        const QStringList contend = {"contend", lockPath, "60", deadPid};
        const QStringList outputs = runAll({contend, contend, contend, contend, contend}, 120000);
        QCOMPARE(outputs, QStringList(5, "overlaps=0 rounds=60\n"));
    }
};

QTEST_GUILESS_MAIN(TestSharedFolderStress)
#include "test_shared_folder_stress.moc"
