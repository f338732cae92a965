// SPDX-License-Identifier: GPL-3.0-or-later
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
        QTRY_COMPARE_WITH_TIMEOUT(link.statusText(), QString("CommOK"), 10000);

        // Times taken when the display changes, not when the test looks.
        QElapsedTimer clock;
        clock.start();
        qint64 lastReadingAt = 0, lossShownAt = 0, firstReadingAt = 0;
        connect(&link, &DeviceLink::valueTextChanged, this, [&](const QString &text) {
            if (text == DeviceLink::noValueText()) {
                lossShownAt = clock.elapsed();
                return;
            }
            lastReadingAt = clock.elapsed();
            if (firstReadingAt == 0)
                firstReadingAt = lastReadingAt;
        });

        qint64 worstRecovery = 0, worstLoss = 0;
        double worstCpu = 0;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            lossShownAt = 0;
            simulator.command("unplug");
            QVERIFY(simulator.waitForLink(false));
            QTRY_VERIFY_WITH_TIMEOUT(lossShownAt > 0, 10000);
            QCOMPARE(link.statusText(), QString("CommErr"));
            worstLoss = qMax(worstLoss, lossShownAt - lastReadingAt);

            CpuClock cpu;
            cpu.start();
            // Replugs land at every phase of the once-a-second search.
            QTest::qWait(300 + cycle * 53 % 1000);
            worstCpu = qMax(worstCpu, cpu.coreShare());

            firstReadingAt = 0;
            const qint64 replugAt = clock.elapsed();
            simulator.command("replug");
            QTRY_VERIFY_WITH_TIMEOUT(firstReadingAt > 0, 10000);
            QCOMPARE(link.statusText(), QString("CommOK"));
            worstRecovery = qMax(worstRecovery, firstReadingAt - replugAt);
        }
        // The times are for reading only: a busy machine stretches them, and the waits above
        // already fail a link that never notices or never recovers.
        qInfo("loss shown at most %lld ms after the last reading, recovery after at most %lld ms, "
              "CPU while gone at most %.2f %% of a core",
              worstLoss, worstRecovery, worstCpu * 100);
        QVERIFY2(worstCpu < 0.02, qPrintable(QString::number(worstCpu)));
    }
};

QTEST_GUILESS_MAIN(TestDeviceLinkReplug)
#include "test_device_link_replug.moc"
