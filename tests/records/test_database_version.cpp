// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DatabaseVersion.h"
#include "support/FileBytes.h"
#include "support/TempFiles.h"

#include <QDir>
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
        QTest::newRow("newer, as numbers")
            << QByteArray("3.10\n") << QByteArray("3.10\n") << "3.10";
        QTest::newRow("no version") << QByteArray("hello") << QByteArray("3.2\n") << "";
    }

    void theFolderKeepsTheNewestVersionAndAnOlderProgramLearnsOfIt()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, after);
        QFETCH(QString, newer);
        TempFiles files;
        const QString file = files.path(DatabaseVersion::fileName());
        if (!stored.isEmpty())
            writeFile(file, stored);
        QString failure;
        QCOMPARE(DatabaseVersion::update(files.path("") + "/", "3.2", &failure), newer);
        QCOMPARE(failure, QString());
        QCOMPARE(readFile(file), after);
    }

    void aFolderThatCannotKeepTheVersionIsNamedAndTheUserToldOnce()
    {
        TempFiles files;
        const QString fifo = files.path(DatabaseVersion::fileName());
        QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QString failure;
        QCOMPARE(DatabaseVersion::update(files.path("") + "/", "3.2", &failure), QString());
        QCOMPARE(failure, fifo + ": not a small regular file");
        DatabaseVersion::update(files.path("missing/"), "3.2", &failure);
        QVERIFY2(failure.startsWith(files.path("missing/")), qPrintable(failure));
        const QString settings = files.path("tavimer.ini");
        QVERIFY(DatabaseVersion::tellOnce(settings, "3.3"));
        QVERIFY(!DatabaseVersion::tellOnce(settings, "3.3"));
        QVERIFY(DatabaseVersion::tellOnce(settings, "3.4"));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseVersion)
#include "test_database_version.moc"
