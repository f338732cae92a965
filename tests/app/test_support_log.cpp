// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SupportLog.h"
#include "support/FileBytes.h"
#include "support/TempFiles.h"

#include <QCoreApplication>
#include <QtTest>

class TestSupportLog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SupportLog::stop(); }

    void eventsAreWrittenOnlyOnceStartedInAFolderOfTheOwnersAlone()
    {
        TempFiles files;
        const QString path = files.path("state/Kelvaro/Tavimer/tavimer.log");
        SupportLog::write("before start");
        SupportLog::start(path);
        SupportLog::write("card BXEQ0001: failed:\rline two");
        const QByteArray log = readFile(path);
        QCOMPARE(log.count('\n'), 1);
        QVERIFY2(log.endsWith(" [" + QByteArray::number(QCoreApplication::applicationPid()) +
                              "] card BXEQ0001: failed: line two\n"),
                 log.constData());
        // No group or other bits, on the file and on its folder.
        QCOMPARE(int(QFile::permissions(path) & 0x00FF), 0);
        QCOMPARE(int(QFile::permissions(QFileInfo(path).absolutePath()) & 0x00FF), 0);
    }

    void aFullLogIsRotatedAndTheOldestDropped()
    {
        TempFiles files;
        const QString path = files.path("tavimer.log");
        SupportLog::start(path, 200);
        for (int i = 0; i < 40; ++i)
            SupportLog::write(QString("event %1").arg(i, 2, 10, QChar('0')));
        QVERIFY(readFile(path).contains("event 39") && readFile(path + ".1").size() <= 200);
        QVERIFY(QFile::exists(path + ".3") && !QFile::exists(path + ".4"));
        QVERIFY(!readFile(path + ".3").contains("event 00"));
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
