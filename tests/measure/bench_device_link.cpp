// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/DeviceLink.h"
#include "measure/SystemPorts.h"
#include "platform/ProfileFile.h"
#include "support/CpuClock.h"
#include "support/Simulator.h"
#include "support/TestPty.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <thread>

// Latency of the live display and the processor time of the link.
// Prints its measurements; run with: ctest --test-dir build -R bench_device_link -V
namespace {

// Waits in a plain event loop: qWait wakes every few milliseconds, and that would be measured too.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

class BenchDeviceLink : public QObject
{
    Q_OBJECT

    static constexpr int kFrames = 60;
    static constexpr int kCpuWindowMs = 10000;

    QTemporaryDir m_dir;

private slots:
    void frameToDisplayLatencyHasAMedianUnderFiveMilliseconds()
    {
        TestPty pty(m_dir.filePath("dev"));
        DeviceLink link([](const QString &key) { return key; },
                        [&] { return QStringList{pty.path()}; });
        QLabel stValue;
        connect(&link, &DeviceLink::valueTextChanged, &stValue, &QLabel::setText);
        link.tmrComErrTimer();
        QElapsedTimer clock;
        qint64 shownAt = -1;
        connect(&link, &DeviceLink::valueTextChanged, this,
                [&] { shownAt = clock.nsecsElapsed(); });

        // The device writes from a thread of its own while the event loop sleeps, as it would.
        QList<double> latencies;
        for (int i = 1; i <= kFrames; ++i) {
            QTest::qWait(110); // the pause that lets the next frame count
            shownAt = -1;
            qint64 lastByteAt = 0;
            QEventLoop loop;
            connect(&link, &DeviceLink::valueTextChanged, &loop, &QEventLoop::quit);
            QTimer::singleShot(1000, &loop, &QEventLoop::quit);
            clock.start();
            std::thread device([&] {
                QThread::msleep(20);
                pty.write(QByteArray(1, char(i >> 8)));
                QThread::usleep(1042); // one byte at 9600 bit/s
                lastByteAt = clock.nsecsElapsed();
                pty.write(QByteArray(1, char(i & 0xff)));
            });
            loop.exec();
            device.join();
            QVERIFY(shownAt >= 0);
            QCOMPARE(stValue.text(), QString::number(i));
            latencies.append((shownAt - lastByteAt) / 1e6);
        }
        std::sort(latencies.begin(), latencies.end());
        const double median = latencies.at(latencies.size() / 2);
        qInfo("latency: median %.3f ms, 90th percentile %.3f ms, worst %.3f ms", median,
              latencies.at(latencies.size() * 9 / 10), latencies.last());
        QVERIFY(median < 5.0);
    }

    void searchingWithoutADeviceUsesUnderOnePercentOfACore()
    {
        const QString ini = m_dir.filePath("tavimer.ini");
        ProfileFile(ini).writeString("Device", "Ports", m_dir.filePath("absent"));
        DeviceLink link([](const QString &key) { return key; }, SystemPorts(ini));
        CpuClock cpu;
        cpu.start();
        idle(kCpuWindowMs);
        qInfo("searching: %.3f %% of a core", cpu.coreShare() * 100);
        QCOMPARE(link.statusText(), QString("CommErr"));
        QVERIFY(cpu.coreShare() < 0.01);
    }

    void receivingFiveFramesASecondUsesUnderOnePercentOfACore()
    {
        const QString linkPath = m_dir.filePath("ttySIM");
        Simulator simulator;
        QVERIFY(simulator.start(linkPath, {"--quiet"}));
        DeviceLink link([](const QString &key) { return key; },
                        [&] { return QStringList{linkPath}; });
        QLabel stValue;
        connect(&link, &DeviceLink::valueTextChanged, &stValue, &QLabel::setText);
        QTRY_COMPARE_WITH_TIMEOUT(link.statusText(), QString("CommOK"), 3000);
        int readings = 0;
        connect(&link, &DeviceLink::valueTextChanged, this, [&] { ++readings; });
        CpuClock cpu;
        cpu.start();
        idle(kCpuWindowMs);
        qInfo("receiving %d readings in %d ms: %.3f %% of a core", readings, kCpuWindowMs,
              cpu.coreShare() * 100);
        QVERIFY(readings >= kCpuWindowMs / 200 - 2);
        QVERIFY(cpu.coreShare() < 0.01);
    }
};

QTEST_MAIN(BenchDeviceLink)
#include "bench_device_link.moc"
