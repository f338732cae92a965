// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/DeviceLink.h"
#include "measure/EComPort.h"
#include "measure/TComPort.h"
#include "support/AsNobody.h"
#include "support/TestPty.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <limits>
#include <memory>
#include <pwd.h>

// The device link against real pseudo-terminals, with the port list given by the test.
class TestDeviceLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_ports;
    std::unique_ptr<DeviceLink> m_link;
    QStringList m_values;

    void makeLink()
    {
        m_values.clear();
        m_link = std::make_unique<DeviceLink>([](const QString &key) { return "msg:" + key; },
                                              [this] { return m_ports; });
        connect(m_link.get(), &DeviceLink::valueTextChanged, this,
                [this](const QString &text) { m_values.append(text); });
    }

    // Connects to the single listed device as the first watchdog run does.
    void connectTo(const TestPty &pty)
    {
        m_ports = {pty.path()};
        makeLink();
        m_link->tmrComErrTimer();
        QVERIFY(m_link->ComPort->Connected());
        QCOMPARE(m_link->ComPort->Port(), pty.path());
        m_values.clear();
    }

    // However busy the machine, no gap counts as a pause until the test makes one.
    void holdPauses() { m_link->tmrComSync->setInterval(std::numeric_limits<int>::max()); }

    QString statusAfterOneSearch(const TestPty &pty)
    {
        m_ports = {pty.path()};
        makeLink();
        m_link->setDeviceText([](const QString &key) {
            return "dev:" + key + (key == "PortBusy" ? "(%s)" : "(%1 %2 %3 %4)");
        });
        m_link->tmrComErrTimer();
        return m_link->ComPort->Connected() ? QString("connected") : m_link->statusText();
    }

    QString portAfterWatchdog()
    {
        m_link->tmrComErrTimer();
        return m_link->ComPort->Port();
    }

private slots:
    void init() { m_ports.clear(); }
    void cleanup() { m_link.reset(); }

    void startsWithNoValueAndAnEmptyStatus()
    {
        makeLink();
        QCOMPARE(m_link->valueText(), QString("- - -"));
        QCOMPARE(m_link->statusText(), QString());
        QCOMPARE(m_link->ComPort->Port(), QString("COM1"));
        QVERIFY(!m_link->ComPort->Connected());
        QVERIFY(m_link->tmrComSync->isActive());
        QCOMPARE(m_link->tmrComSync->interval(), 100);
        QVERIFY(m_link->tmrComErr->isActive());
        QCOMPARE(m_link->tmrComErr->interval(), 1000);
    }

    void twoBytesTogetherShowTheReadingAndCommOK()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        holdPauses();
        pty.write(QByteArray::fromHex("012C"));
        QTRY_COMPARE(m_link->valueText(), QString("300"));
        QCOMPARE(m_link->statusText(), QString("msg:CommOK"));
        m_link->tmrComSyncTimer();
        pty.write(QByteArray::fromHex("FFFF"));
        QTRY_COMPARE(m_link->valueText(), QString("65535"));
    }

    void aFrameSplitFiftyMillisecondsApartIsTakenAtItsSecondByte()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        holdPauses();
        pty.write(QByteArray::fromHex("00"));
        QTRY_COMPARE(m_link->RxBuffer.size(), 1);
        QVERIFY(m_values.isEmpty());
        pty.write(QByteArray::fromHex("64"));
        QTRY_COMPARE(m_values, QStringList({"100"}));
    }

    void threeByteBurstShowsNothingAndTheNextFrameAfterAPauseIsTaken()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        holdPauses();
        pty.write(QByteArray::fromHex("010203"));
        QTRY_COMPARE(m_link->RxBuffer.size(), 3);
        QVERIFY(m_values.isEmpty());
        m_link->tmrComSyncTimer();
        QVERIFY(m_link->RxBuffer.isEmpty());
        pty.write(QByteArray::fromHex("0007"));
        QTRY_COMPARE(m_values, QStringList({"7"}));
    }

    void framesWithoutPausesAreTakenOnlyOnceAndTheWatchdogMovesOn()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        holdPauses();
        QTimer sender;
        int next = 1;
        connect(&sender, &QTimer::timeout, this,
                [&] { pty.write(QByteArray(1, '\0') + char(next++)); });
        QStringList valuesAtCommErr;
        connect(m_link.get(), &DeviceLink::statusTextChanged, this, [&](const QString &status) {
            if (status == "msg:CommErr" && sender.isActive()) {
                sender.stop();
                valuesAtCommErr = m_values;
            }
        });
        sender.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(!sender.isActive(), 30000);
        QCOMPARE(valuesAtCommErr, QStringList({"1"}));
        QCOMPARE(m_values.value(1), QString("- - -"));
    }

    void unplugShowsNoValueAndCommErrWithinASecondAndTriesTheNextPort()
    {
        TestPty first(m_dir.filePath("a")), second(m_dir.filePath("b"));
        m_ports = {first.path(), second.path()};
        makeLink();
        m_link->ComPort->SetPort(first.path());
        m_link->ComPort->Open();
        first.write(QByteArray::fromHex("0042"));
        QTRY_COMPARE(m_link->valueText(), QString("66"));
        first.hangUp();
        // The second is the watchdog's interval; the wait allows for a busy machine.
        QTRY_COMPARE_WITH_TIMEOUT(m_link->valueText(), QString("- - -"), 30000);
        QCOMPARE(m_link->statusText(), QString("msg:CommErr"));
        QCOMPARE(m_link->ComPort->Port(), second.path());
        QVERIFY(m_link->ComPort->Connected());
        second.write(QByteArray::fromHex("0043"));
        QTRY_COMPARE(m_link->valueText(), QString("67"));
        QCOMPARE(m_link->statusText(), QString("msg:CommOK"));
    }

    void theSearchCyclesThroughTheListAndWraps()
    {
        m_ports = {"COM1", "COM3", "COM4"};
        makeLink();
        m_link->ComPort->SetPort("COM3");
        QCOMPARE(portAfterWatchdog(), QString("COM4"));
        QCOMPARE(portAfterWatchdog(), QString("COM1"));
        QCOMPARE(portAfterWatchdog(), QString("COM3"));
        QCOMPARE(m_link->statusText(), QString("msg:CommErr"));
        QVERIFY(m_link->tmrComErr->isActive());
    }

    void anUnlistedNameStartsTheSearchAtTheSecondEntry()
    {
        m_ports = {"COM3", "COM5"};
        makeLink();
        QCOMPARE(portAfterWatchdog(), QString("COM5"));
        QCOMPARE(portAfterWatchdog(), QString("COM3"));
        m_ports = {"COM7"};
        QCOMPARE(portAfterWatchdog(), QString("COM7"));
        QCOMPARE(portAfterWatchdog(), QString("COM7"));
    }

    void anUnlistedOpenPortIsClosedBeforeTheNextOneOpens()
    {
        TestPty gone(m_dir.filePath("gone")), listed(m_dir.filePath("listed"));
        m_ports = {listed.path()};
        makeLink();
        m_link->ComPort->SetPort(gone.path());
        m_link->ComPort->Open();
        QCOMPARE(portAfterWatchdog(), listed.path());
        QVERIFY(m_link->ComPort->Connected());
        listed.write(QByteArray::fromHex("0101"));
        QTRY_COMPARE(m_link->valueText(), QString("257"));
    }

    void serialFailuresAreSwallowedAndTheWatchdogKeepsRunning()
    {
        m_ports.clear();
        makeLink();
        m_link->tmrComErrTimer();
        QCOMPARE(m_link->statusText(), QString("msg:CommErr"));
        QCOMPARE(m_link->valueText(), QString("- - -"));
        QCOMPARE(m_link->ComPort->Port(), QString("COM1"));
        QVERIFY(m_link->tmrComErr->isActive());

        m_link = std::make_unique<DeviceLink>([](const QString &key) { return key; },
                                              []() -> QStringList { throw EComPort(23, 2); });
        m_link->tmrComErrTimer();
        QVERIFY(m_link->tmrComErr->isActive());
        QCOMPARE(m_link->statusText(), QString("CommErr"));
    }

    void aLongBurstFillsTheBufferToItsLimitOnly()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        holdPauses();
        pty.write(QByteArray(300, 'x'));
        QTRY_COMPARE(m_link->RxBuffer.size(), 255);
        QTest::qWait(50);
        QCOMPARE(m_link->RxBuffer.size(), 255);
        QVERIFY(m_values.isEmpty());
    }

    void aBusyPortAddsItsHintToCommErrUntilItIsFree()
    {
        TestPty pty(m_dir.filePath("dev"));
        TComPort otherProgram;
        otherProgram.SetPort(pty.path());
        otherProgram.Open();
        QCOMPARE(statusAfterOneSearch(pty), "msg:CommErr. dev:PortBusy(" + pty.path() + ")");
        otherProgram.Close();
        m_link->tmrComErrTimer();
        QVERIFY(m_link->ComPort->Connected());
        QCOMPARE(m_link->statusText(), QString("msg:CommErr"));
    }

    void aPortTheUserMayNotOpenAddsWhyItWasRefused()
    {
        RUN_AS_NOBODY();
        TestPty pty(m_dir.filePath("dev"));
        QVERIFY(pty.isOpen());
        QVERIFY(QFile::setPermissions(pty.path(), {}));
        const QString account = QString::fromLocal8Bit(getpwuid(geteuid())->pw_name);
        const QString status = statusAfterOneSearch(pty);
        QVERIFY2(status.startsWith("msg:CommErr. dev:PortRefused(" + pty.path() + " " + account) &&
                     status.endsWith(" 0000)"),
                 qPrintable(status));
    }

    void disconnectingClosesThePortForGood()
    {
        TestPty pty(m_dir.filePath("dev"));
        connectTo(pty);
        m_link->DisconnectPort();
        QVERIFY(!m_link->ComPort->Connected());
        QTest::qWait(1200);
        QVERIFY(!m_link->ComPort->Connected());
        QVERIFY(!m_link->tmrComErr->isActive());
    }
};

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "test_device_link.moc"
