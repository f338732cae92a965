// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/DeviceLink.h"
#include "support/Simulator.h"

#include <QTemporaryDir>
#include <QtTest>

// The simulated device's fault modes as the device link sees them.
class TestSimulatorFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString linkPath() const { return m_dir.filePath("ttySIM"); }

    std::unique_ptr<DeviceLink> makeLink(QStringList *values)
    {
        auto link = std::make_unique<DeviceLink>([](const QString &key) { return key; },
                                                 [this] { return QStringList{linkPath()}; });
        connect(link.get(), &DeviceLink::valueTextChanged, this, [values](const QString &text) {
            if (text != DeviceLink::noValueText())
                values->append(text);
        });
        return link;
    }

private slots:
    void garbageNeverMakesAReading()
    {
        Simulator simulator;
        QVERIFY(simulator.start(linkPath(), {"--fault", "garbage"}));
        QStringList values;
        const auto link = makeLink(&values);
        QTest::qWait(3000);
        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), QString("CommErr"), 30000);
        QVERIFY(values.isEmpty());
        QVERIFY(simulator.output().contains("garbage"));
    }

    void framesWithoutPausesGiveAtMostOneReadingPerConnection()
    {
        Simulator simulator;
        QVERIFY(simulator.start(linkPath(), {"--fault", "nopause", "--quiet"}));
        QStringList values;
        const auto link = makeLink(&values);
        QSignalSpy watchdogRuns(link->tmrComErr, &QTimer::timeout);
        QTRY_VERIFY_WITH_TIMEOUT(watchdogRuns.size() >= 3, 30000);
        // The port is opened anew at every watchdog run.
        QVERIFY2(values.size() <= watchdogRuns.size() + 1, qPrintable(values.join(' ')));
    }

    void commandsSwitchBetweenTheSessionAndTheFaults()
    {
        Simulator simulator;
        QVERIFY(simulator.start(linkPath(), {"--values", QStringList(24, "321").join(','), "--rest",
                                             "0.2", "--rise", "0.2", "--hold", "60"}));
        QStringList values;
        const auto link = makeLink(&values);
        QTRY_COMPARE_WITH_TIMEOUT(link->valueText(), QString("321"), 30000);
        simulator.command("silence");
        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), QString("CommErr"), 30000);
        simulator.command("normal");
        QTRY_COMPARE_WITH_TIMEOUT(link->statusText(), QString("CommOK"), 30000);
        const QString printed = simulator.output();
        QVERIFY(printed.contains("mode silence"));
        QVERIFY(printed.contains(QRegularExpression("point  1 hold +3\\d\\d  01 [0-9A-F]{2}")));
    }
};

QTEST_GUILESS_MAIN(TestSimulatorFaults)
#include "test_simulator_faults.moc"
