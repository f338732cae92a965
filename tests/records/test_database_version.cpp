// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DatabaseVersion.h"
#include "support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

class TestDatabaseVersion : public QObject
{
    Q_OBJECT

private slots:
    void theFolderKeepsTheNewestVersionAndAnOlderProgramLearnsOfIt_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("newer");
        QTest::newRow("none yet") << QByteArray() << QByteArray("3.2\n") << "";
        QTest::newRow("older") << QByteArray("3.1\n") << QByteArray("3.2\n") << "";
        QTest::newRow("same") << QByteArray("3.2") << QByteArray("3.2") << "";
        QTest::newRow("newer, compared as numbers")
            << QByteArray("3.10\n") << QByteArray("3.10\n") << "3.10";
        QTest::newRow("no version") << QByteArray("hello") << QByteArray("3.2\n") << "";
    }

    void theFolderKeepsTheNewestVersionAndAnOlderProgramLearnsOfIt()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, after);
        QFETCH(QString, newer);
        TempFiles files;
        const QString db = files.path("db/");
        QDir().mkpath(db);
        if (!stored.isEmpty())
            TempFiles::writeTo(db + DatabaseVersion::fileName(), stored);
        QString failure;
        QCOMPARE(DatabaseVersion::update(db, "3.2", &failure), newer);
        QCOMPARE(failure, QString());
        QFile file(db + DatabaseVersion::fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), after);
    }

    void aFolderThatCannotKeepTheVersionIsNamedAndNothingElseIsWritten()
    {
        TempFiles files;
        const QString db = files.path("db/");
        QDir().mkpath(db);
        QVERIFY(mkfifo(QFile::encodeName(db + DatabaseVersion::fileName()).constData(), 0600) == 0);
        QString failure;
        QCOMPARE(DatabaseVersion::update(db, "3.2", &failure), QString());
        QCOMPARE(failure, db + DatabaseVersion::fileName() + ": not a small regular file");
        QCOMPARE(DatabaseVersion::update(files.path("missing/"), "3.2", &failure), QString());
        QVERIFY2(failure.startsWith(files.path("missing/")), qPrintable(failure));
    }

    void theOlderProgramTellsEachNewerVersionOnce()
    {
        TempFiles files;
        const QString settings = files.path("tavimer.ini");
        QVERIFY(DatabaseVersion::tellOnce(settings, "3.3"));
        QVERIFY(!DatabaseVersion::tellOnce(settings, "3.3"));
        QVERIFY(DatabaseVersion::tellOnce(settings, "3.4"));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseVersion)
#include "test_database_version.moc"
