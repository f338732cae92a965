// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"
#include "support/TestPty.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

// The real program, holding a device's port, ended by the system instead of the user.
class TestSystemEnd : public QObject
{
    Q_OBJECT

private slots:
    void terminationWritesTheSettingsAndFreesThePort()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("tavimer");
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tavimer", program));
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                            dir.filePath("tavimer.dat")));
        TestPty device(dir.filePath("ttySIM"));
        const QString ini = dir.filePath("tavimer.ini");
        QVERIFY(ProfileFile(ini).writeString("Device", "Ports", device.path()));
        // Qt names the lock after the port's path, in the first lock folder it may write to.
        const QString lock = "/var/lock/LCK.." + QString(device.path()).replace('/', '_');
        QProcess running;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", dir.filePath("xdg"));
        running.setProcessEnvironment(environment);
        running.start(program, {});
        // The port is only looked for once start-up has finished.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 60000);
        QCOMPARE(::kill(running.processId(), SIGTERM), 0);
        QVERIFY(running.waitForFinished(60000));
        QCOMPARE(running.exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFile::exists(lock));
        QVERIFY(ProfileFile(ini).readInteger("Main", "Width", -1) > 0);
    }
};

QTEST_GUILESS_MAIN(TestSystemEnd)
#include "test_system_end.moc"
