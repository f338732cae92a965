// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/EComPort.h"
#include "measure/SystemPorts.h"
#include "measure/TComPort.h"
#include "platform/ProfileFile.h"
#include "support/CpuClock.h"
#include "support/TestPty.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

// The serial port layer on real pseudo-terminals.
class TestComPort : public QObject
{
    Q_OBJECT

    struct Received
    {
        QList<int> counts;
        QByteArray bytes;
    };

    // A handler that reads what is announced, one byte at a time.
    static void readAll(TComPort &port, Received &received)
    {
        port.OnRxChar = [&received](TComPort *sender, int count) {
            received.counts.append(count);
            for (int i = 0; i < count; ++i) {
                char byte = 0;
                if (sender->Read(&byte, 1) == 1)
                    received.bytes.append(byte);
            }
        };
    }

    // Opens the port on the terminal with every received byte collected.
    static void openReading(TComPort &port, Received &received, const TestPty &pty)
    {
        readAll(port, received);
        port.SetPort(pty.path());
        port.Open();
    }

private slots:
    void openingANameNoDeviceHasGivesCode1AndLeavesThePortClosed()
    {
        QTemporaryDir dir;
        TComPort port;
        port.SetPort(dir.filePath("ttyNone"));
        try {
            port.Open();
            QFAIL("opened a missing device");
        } catch (const EComPort &e) {
            QCOMPARE(e.Code(), 1);
            QCOMPARE(e.WinCode(), 2);
            QCOMPARE(e.Message(), QString("Unable to open com port (win error code: 2)"));
        }
        QVERIFY(!port.Connected());
        QVERIFY_THROWS_EXCEPTION(EComPort, port.ClearBuffer(true, true));
    }

    void openAppliesTheLineSettingsAndIsIdempotent()
    {
        TestPty pty;
        TComPort port;
        QCOMPARE(port.Port(), QString("COM1"));
        port.SetPort(pty.path());
        port.Open();
        QVERIFY(port.Connected());
        QSerialPort *serial = port.findChild<QSerialPort *>();
        port.Open();
        QCOMPARE(port.findChild<QSerialPort *>(), serial);

        termios line{};
        QCOMPARE(tcgetattr(pty.nearEnd(), &line), 0);
        QCOMPARE(cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        QVERIFY(!(line.c_cflag & (PARENB | CSTOPB | CRTSCTS)));
        QVERIFY(!(line.c_iflag & (IXON | IXOFF)));
        QVERIFY(!(line.c_lflag & (ICANON | ECHO)));
    }

    void settingTheSameNameWhileOpenKeepsTheConnection()
    {
        TestPty first, second;
        TComPort port;
        port.SetPort(first.path());
        port.Open();
        QSerialPort *serial = port.findChild<QSerialPort *>();
        port.SetPort(first.path());
        QCOMPARE(port.findChild<QSerialPort *>(), serial);

        // Another name while open: closed and reopened there.
        Received received;
        readAll(port, received);
        port.SetPort(second.path());
        QVERIFY(port.Connected());
        first.write("A");
        second.write("B");
        QTRY_COMPARE(received.bytes, QByteArray("B"));
    }

    void aBurstIsAnnouncedWithItsCountAndReadWithoutWaiting()
    {
        TestPty pty;
        TComPort port;
        Received received;
        openReading(port, received, pty);
        pty.write(QByteArray::fromHex("0102030405"));
        QTRY_COMPARE(received.bytes, QByteArray::fromHex("0102030405"));
        int total = 0;
        for (int count : received.counts)
            total += count;
        QCOMPARE(total, 5);

        char byte = 0;
        QCOMPARE(port.Read(&byte, 1), 0);
    }

    void notificationsComeInOrderAcrossManyBursts()
    {
        TestPty pty;
        TComPort port;
        Received received;
        openReading(port, received, pty);
        QByteArray sent;
        for (int i = 0; i < 200; ++i) {
            const QByteArray burst(1 + i % 4, char(i));
            sent += burst;
            pty.write(burst);
            if (i % 7 == 0)
                QCoreApplication::processEvents();
        }
        QTRY_COMPARE(received.bytes.size(), sent.size());
        QCOMPARE(received.bytes, sent);
    }

    void noNotificationRunsAfterCloseHasReturned()
    {
        TestPty pty;
        TComPort port;
        Received received;
        openReading(port, received, pty);
        pty.write("xy");
        QTest::qSleep(50); // waiting in the terminal, not yet announced
        port.Close();
        QTest::qWait(200);
        QVERIFY(received.counts.isEmpty());
        QVERIFY(!port.Connected());
        port.Close();
    }

    void purgingDiscardsWhatIsWaiting()
    {
        TestPty pty;
        TComPort port;
        Received received;
        openReading(port, received, pty);
        pty.write("stale");
        QTest::qSleep(50);
        port.ClearBuffer(true, true);
        pty.write("new");
        QTRY_COMPARE(received.bytes, QByteArray("new"));
    }

    void hangUpStopsNotificationsWithoutBurningTheProcessor()
    {
        TestPty pty;
        TComPort port;
        Received received;
        openReading(port, received, pty);
        pty.write("ok");
        QTRY_COMPARE(received.bytes, QByteArray("ok"));

        pty.hangUp();
        CpuClock cpu;
        cpu.start();
        QTest::qWait(1000);
        QVERIFY2(cpu.coreShare() < 0.05, qPrintable(QString::number(cpu.coreShare())));
        QVERIFY(!port.Receiving());
        // Still marked open until its owner closes it.
        QVERIFY(port.Connected());
        char byte = 0;
        QVERIFY_THROWS_EXCEPTION(EComPort, port.Read(&byte, 1));
        port.Close();
        QVERIFY(!port.Connected());
        QCOMPARE(received.counts.size(), 1);
    }

    void aFailingHandlerEndsTheNotifications()
    {
        TestPty pty;
        TComPort port;
        int calls = 0;
        port.OnRxChar = [&calls](TComPort *, int) {
            ++calls;
            throw EComPort(EComPort::CE_ReadFailed, 5);
        };
        port.SetPort(pty.path());
        port.Open();
        pty.write("a");
        QTRY_COMPARE(calls, 1);
        pty.write("b");
        QTest::qWait(200);
        QCOMPARE(calls, 1);
        QVERIFY(!port.Receiving());
        // Reopening brings the notifications back.
        port.Close();
        port.Open();
        pty.write("c");
        QTRY_COMPARE(calls, 2);
    }

    void portNamesSortAsTextWithoutRegardToCase()
    {
        QStringList ports = {"COM2", "COM10", "com3", "COM1"};
        TComPort::SortPortNames(ports);
        QCOMPARE(ports, QStringList({"COM1", "COM10", "COM2", "com3"}));
    }

    void settingsAddDevicePathsToTheSystemPorts()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("tavimer.ini");
        QVERIFY(SystemPorts::configured(ini).isEmpty());
        ProfileFile(ini).writeString("Device", "Ports", " /dev/serial/by-id/usb-X ;;/tmp/sim; ");
        QCOMPARE(SystemPorts::configured(ini),
                 QStringList({"/dev/serial/by-id/usb-X", "/tmp/sim"}));
        QCOMPARE(SystemPorts::merged({"ttyS0", "ttyUSB0"}, {"ttyS0", "/tmp/sim", "COM10", "COM2"}),
                 QStringList({"/tmp/sim", "COM10", "COM2", "ttyS0", "ttyUSB0"}));

        // One device file under two names is tried once, under the system's name.
        const QString device = dir.filePath("ttyFAKE");
        QFile(device).open(QIODevice::WriteOnly);
        QFile::link(device, dir.filePath("by-id"));
        QFile::link(dir.filePath("by-id"), dir.filePath("by-path"));
        QCOMPARE(SystemPorts::merged({device}, {dir.filePath("by-path"), dir.filePath("by-id")}),
                 QStringList({device}));
        QCOMPARE(SystemPorts::merged({}, {dir.filePath("by-path"), dir.filePath("by-id")}),
                 QStringList({dir.filePath("by-path")}));

        // Read afresh at every search, so an edit takes effect without a restart.
        SystemPorts ports(ini);
        QVERIFY(ports().contains("/tmp/sim"));
        ProfileFile(ini).writeString("Device", "Ports", "/tmp/other");
        QVERIFY(ports().contains("/tmp/other"));
        QVERIFY(!ports().contains("/tmp/sim"));
    }
};

QTEST_GUILESS_MAIN(TestComPort)
#include "test_com_port.moc"
