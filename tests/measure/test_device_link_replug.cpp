#include "measure/DeviceLink.h"
#include "support/CpuClock.h"
#include "support/Simulator.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

// The simulated device pulled out and plugged in again and again while the link runs.
class TestDeviceLinkReplug : public QObject
{
    Q_OBJECT

    static constexpr int kCycles = 20;

private slots:
    void theLinkRecoversFromEveryReplugWithoutBurningTheProcessor()
    {
        QTemporaryDir dir;
        const QString linkPath = dir.filePath("ttySIM");
        Simulator simulator;
        QVERIFY(simulator.start(linkPath, {"--quiet", "--seed", "3"}));
        DeviceLink link([](const QString &key) { return key; },
                        [&] { return QStringList{linkPath}; });
        QTRY_COMPARE_WITH_TIMEOUT(link.statusText(), QString("CommOK"), 3000);

        qint64 worstRecovery = 0, worstLoss = 0;
        double worstCpu = 0;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            QElapsedTimer clock;
            clock.start();
            simulator.command("unplug");
            QVERIFY(simulator.waitForLink(false));
            QTRY_COMPARE_WITH_TIMEOUT(link.statusText(), QString("CommErr"), 1500);
            QCOMPARE(link.valueText(), QString("- - -"));
            worstLoss = qMax(worstLoss, clock.elapsed());

            CpuClock cpu;
            cpu.start();
            // Replugs land at every phase of the once-a-second search.
            QTest::qWait(300 + cycle * 53 % 1000);
            worstCpu = qMax(worstCpu, cpu.coreShare());

            clock.restart();
            simulator.command("replug");
            QTRY_COMPARE_WITH_TIMEOUT(link.statusText(), QString("CommOK"), 2000);
            QVERIFY(link.valueText() != QString("- - -"));
            worstRecovery = qMax(worstRecovery, clock.elapsed());
        }
        qInfo("loss shown after at most %lld ms, recovery after at most %lld ms, "
              "CPU while gone at most %.2f %% of a core",
              worstLoss, worstRecovery, worstCpu * 100);
        QVERIFY2(worstCpu < 0.02, qPrintable(QString::number(worstCpu)));
    }
};

QTEST_GUILESS_MAIN(TestDeviceLinkReplug)
#include "test_device_link_replug.moc"
