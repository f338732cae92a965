// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SupportLog.h"
#include "support/TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestSupportLog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SupportLog::stop(); }

    void theLogLivesInTheUsersStateFolder_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("XDG_STATE_HOME")
            << QByteArray("/var/tmp/state") << "/var/tmp/state/Kelvaro/Tavimer/tavimer.log";
        QTest::newRow("unset") << QByteArray()
                               << QDir::homePath() + "/.local/state/Kelvaro/Tavimer/tavimer.log";
        QTest::newRow("relative, ignored")
            << QByteArray("state")
            << QDir::homePath() + "/.local/state/Kelvaro/Tavimer/tavimer.log";
    }

    void theLogLivesInTheUsersStateFolder()
    {
        QFETCH(QByteArray, stateHome);
        QFETCH(QString, expected);
        const QByteArray before = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", stateHome);
        const QString path = SupportLog::defaultPath();
        qputenv("XDG_STATE_HOME", before);
        QCOMPARE(path, expected);
    }

    void eventsAreWrittenOnlyOnceStartedInAFolderOfTheOwnersAlone()
    {
        TempFiles files;
        const QString path = files.path("state/Kelvaro/Tavimer/tavimer.log");
        SupportLog::write("before start");
        SupportLog::start(path);
        SupportLog::write("card BXEQ0001: failed:\rline two");
        const QByteArray log = contents(path);
        QCOMPARE(log.count('\n'), 1);
        QVERIFY2(log.endsWith(" [" + QByteArray::number(QCoreApplication::applicationPid()) +
                              "] card BXEQ0001: failed: line two\n"),
                 log.constData());
        QCOMPARE(int(QFile::permissions(path) & 0x00FF), 0x0000);
        QCOMPARE(int(QFile::permissions(QFileInfo(path).absolutePath()) & 0x00FF), 0x0000);
    }

    void aFullLogIsRotatedAndTheOldestDropped()
    {
        TempFiles files;
        const QString path = files.path("tavimer.log");
        SupportLog::start(path, 200);
        for (int i = 0; i < 40; ++i)
            SupportLog::write(QString("event %1").arg(i, 2, 10, QChar('0')));
        QVERIFY(contents(path).contains("event 39"));
        QVERIFY(contents(path + ".1").size() <= 200);
        QVERIFY(QFile::exists(path + ".3"));
        QVERIFY(!QFile::exists(path + ".4"));
        QVERIFY(!contents(path + ".3").contains("event 00"));
    }

    void aLogThatCannotBeWrittenIsReportedOnceWithItsReason()
    {
        TempFiles files;
        const QString path = files.write("a-file", "x") + "/tavimer.log";
        SupportLog::start(path);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Cannot write the support log " +
                                                QRegularExpression::escape(path) + ": .+"));
        SupportLog::write("one");
        SupportLog::write("two");
    }
};

QTEST_GUILESS_MAIN(TestSupportLog)
#include "test_support_log.moc"
