#include "platform/ProfileFile.h"
#include "support/TestPty.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

// The real program, holding a device's port, ended by the system instead of the user.
class TestSystemEnd : public QObject
{
    Q_OBJECT

    // Serial port lock files that name this test's folder, wherever Qt keeps them.
    static QStringList portLocks(const QString &folderName)
    {
        QStringList locks;
        for (const QString &folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp"}) {
            for (const QString &name :
                 QDir(folder).entryList({"LCK..*" + folderName + "*"}, QDir::Files))
                locks << folder + "/" + name;
        }
        return locks;
    }

private slots:
    void anEndAskedByTheSystemWritesTheSettingsAndFreesThePort_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void anEndAskedByTheSystemWritesTheSettingsAndFreesThePort()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString program = dir.filePath("tavimer");
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tavimer", program));
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                            dir.filePath("tavimer.dat")));
        QVERIFY(QDir().mkpath(dir.filePath("xdg/Kelvaro/Tavimer/Database/arc")));
        TestPty device(dir.filePath("ttySIM"));
        const QString ini = dir.filePath("tavimer.ini");
        QVERIFY(ProfileFile(ini).writeString("Device", "Ports", device.path()));

        QProcess running;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_DATA_HOME", dir.filePath("xdg"));
        running.setProcessEnvironment(environment);
        running.start(program, {});
        QVERIFY(running.waitForStarted(30000));
        const QString folderName = QFileInfo(dir.path()).fileName();
        // The port is only looked for once start-up has finished.
        QTRY_VERIFY_WITH_TIMEOUT(!portLocks(folderName).isEmpty(), 60000);

        QCOMPARE(::kill(running.processId(), signalNumber), 0);
        QVERIFY(running.waitForFinished(60000));
        QCOMPARE(running.exitStatus(), QProcess::NormalExit);
        QCOMPARE(portLocks(folderName), QStringList());
        QCOMPARE(ProfileFile(ini).readString("Main", "Width", ""), QString("800"));
        QCOMPARE(ProfileFile(ini).readString("Device", "Ports", ""), device.path());
    }
};

QTEST_GUILESS_MAIN(TestSystemEnd)
#include "test_system_end.moc"
