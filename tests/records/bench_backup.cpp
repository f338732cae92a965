// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"
#include "support/FileBytes.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

// A practice's folder of cards with five sheets each (10,000 cards: 40,000 files, 26 MB),
// backed up (with the card locks and the read-back) and restored side by side with zip -r and
// unzip of the same folder; optionally each card with a history (change log and two packed
// versions) and some deleted cards' histories.
class BenchBackup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QByteArray text(QRandomGenerator &random, int size)
    {
        static const QByteArray words[] = {"fej",      "fájás ", "alvás ",
                                           "kezelés ", "\r\n",   "gyógyszer "};
        QByteArray out;
        while (out.size() < size)
            out += words[random.bounded(6)] + QByteArray::number(random.bounded(1000)) + ' ';
        return out;
    }

    static void makeFolder(const QString &db, int cards, bool history)
    {
        QRandomGenerator random(24);
        QDir().mkpath(db + "arc");
        for (int n = 1; n <= cards; ++n) {
            const QString id = QStringLiteral("BXEQ%1").arg(n, 4, 10, QLatin1Char('0'));
            const QString base = db + id;
            writeFile(base + ".sza", "[SzemelyiAdatok]\r\nNev=Beteg " + QByteArray::number(n) +
                                         "\r\n" + text(random, 300));
            writeFile(base + ".anm", text(random, 2000));
            writeFile(base + ".pan", text(random, 500));
            QByteArray sheets;
            for (int i = 0; i < 5 * 464 / 4; ++i)
                sheets += QByteArray::number(random.bounded(10000)).rightJustified(4, '0');
            writeFile(base + ".kl", sheets);
            if (!history)
                continue;
            const QString kept = db + "history/" + (n % 500 ? id : id + "~20261209T101010");
            QDir().mkpath(kept + "/versions");
            writeFile(kept + "/changes.log", text(random, 600));
            for (const char *version :
                 {"/versions/20261208T101010000-sza.gz", "/versions/20261209T101010000-anm.gz"})
                writeFile(kept + version, qCompress(text(random, 1500)));
        }
        if (history)
            writeFile(db + "history/pseudonym.key", QByteArray(32, 'k'));
    }

    static qint64 timed(const QString &program, const QStringList &arguments, const QString &folder)
    {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(program, arguments);
        process.waitForFinished(-1);
        return process.exitCode() == 0 ? clock.elapsed() : -1;
    }

private slots:
    void backupAndRestoreBesideZip_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<bool>("history");
        QTest::newRow("3,000 cards") << 3000 << false;
        QTest::newRow("10,000 cards") << 10000 << false;
        QTest::newRow("3,000 cards with history") << 3000 << true;
    }

    void backupAndRestoreBesideZip()
    {
        QFETCH(int, cards);
        QFETCH(bool, history);
        const QString run = m_dir.filePath(QTest::currentDataTag()) + '/';
        const QString db = run + "db/";
        makeFolder(db, cards, history);
        // Alternated, the best of two rounds each: the machine's load varies from second to
        // second.
        qint64 zipMs = -1, unzipMs = -1, backupMs = -1, restoreMs = -1;
        const auto best = [](qint64 &kept, qint64 now) {
            kept = kept < 0 ? now : std::min(kept, now);
        };
        BackupResult made;
        for (int round = 0; round < 2; ++round) {
            const QString out = run + QString::number(round);
            best(zipMs, timed("zip", {"-qr", out + "zip-r.zip", "."}, db));
            QElapsedTimer clock;
            clock.start();
            made = BackupWriter::write(db, out + "backup", QDateTime::currentDateTime());
            best(backupMs, clock.elapsed());
            QVERIFY(made.ok());
            best(unzipMs, timed("unzip", {"-q", out + "zip-r.zip", "-d", out + "unzipped"}, db));
            clock.restart();
            QVERIFY(BackupRestore::restore(made.path, out + "restored").ok());
            best(restoreMs, clock.elapsed());
        }
        qInfo("%s: %d files, zip -r %lld KB, backup %lld KB", QTest::currentDataTag(), made.files,
              QFileInfo(run + "0zip-r.zip").size() >> 10, QFileInfo(made.path).size() >> 10);
        qInfo("backup with its read-back %lld ms, zip -r %lld ms (%.2f times); restore %lld ms, "
              "unzip %lld ms (%.2f times)",
              backupMs, zipMs, double(backupMs) / zipMs, restoreMs, unzipMs,
              double(restoreMs) / unzipMs);
        QVERIFY(backupMs <= 2 * zipMs && restoreMs <= 2 * unzipMs);
    }
};

// Generating and removing 40,000 files takes minutes on a busy disk.
int main(int argc, char **argv)
{
    qputenv("QTEST_FUNCTION_TIMEOUT", "1800000");
    QCoreApplication application(argc, argv);
    BenchBackup bench;
    return QTest::qExec(&bench, argc, argv);
}
#include "bench_backup.moc"
