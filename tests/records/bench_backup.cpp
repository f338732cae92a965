// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"
#include "support/FileBytes.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

// A practice's folder of 10,000 cards with five sheets each (about 50 MB), backed up and
// restored, beside zip and unzip of the same folder.
class BenchBackup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString db() const { return m_dir.filePath("db/"); }

    static QByteArray text(QRandomGenerator &random, int size)
    {
        static const QByteArray words[] = {"fej",      "fájás ", "alvás ",
                                           "kezelés ", "\r\n",   "gyógyszer "};
        QByteArray out;
        while (out.size() < size)
            out += words[random.bounded(6)] + QByteArray::number(random.bounded(1000)) + ' ';
        return out;
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
    void initTestCase()
    {
        QRandomGenerator random(24);
        QDir().mkpath(db() + "arc");
        for (int n = 1; n <= 10000; ++n) {
            const QString base = db() + QStringLiteral("BXEQ%1").arg(n, 4, 10, QLatin1Char('0'));
            writeFile(base + ".sza", "[SzemelyiAdatok]\r\nNev=Beteg " + QByteArray::number(n) +
                                         "\r\n" + text(random, 300));
            writeFile(base + ".anm", text(random, 2000));
            writeFile(base + ".pan", text(random, 500));
            QByteArray sheets;
            for (int i = 0; i < 5 * 464 / 4; ++i)
                sheets += QByteArray::number(random.bounded(10000)).rightJustified(4, '0');
            writeFile(base + ".kl", sheets);
        }
    }

    void backupAndRestoreBesideZip()
    {
        const qint64 zipMs = timed("zip", {"-qr", m_dir.filePath("zip-r.zip"), "."}, db());
        const qint64 unzipMs = timed(
            "unzip", {"-q", m_dir.filePath("zip-r.zip"), "-d", m_dir.filePath("unzipped")}, db());
        QElapsedTimer clock;
        clock.start();
        const BackupResult made =
            BackupWriter::write(db(), m_dir.filePath("out"), QDateTime::currentDateTime());
        const qint64 backupMs = clock.restart();
        QVERIFY(made.ok());
        const BackupResult restored = BackupRestore::restore(made.path, m_dir.filePath("restored"));
        const qint64 restoreMs = clock.elapsed();
        QVERIFY(restored.ok());
        qInfo("files %d, folder %lld MB, zip %lld MB", made.files,
              QFileInfo(m_dir.filePath("zip-r.zip")).size() >> 20,
              QFileInfo(made.path).size() >> 20);
        qInfo("backup and verify %lld ms, zip -r %lld ms; restore %lld ms, unzip %lld ms", backupMs,
              zipMs, restoreMs, unzipMs);
        QVERIFY(backupMs < 10000 && restoreMs < 10000);
        QVERIFY(backupMs < 3 * zipMs);
    }
};

QTEST_MAIN(BenchBackup)
#include "bench_backup.moc"
