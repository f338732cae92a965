// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/ProbeSession.h"

#include <QtTest>

// The simulated device's script of a probe session.
class TestProbeSession : public QObject
{
    Q_OBJECT

    static QList<int> ramp()
    {
        QList<int> plateaus;
        for (int i = 1; i <= ProbeSession::kPoints; ++i)
            plateaus.append(i * 100);
        return plateaus;
    }

private slots:
    void everyPointRestsRisesToItsPlateauAndHolds()
    {
        const ProbeSession::Timing timing{3, 4, 5};
        ProbeSession session(ramp(), timing, 1, false);
        for (int point = 1; point <= ProbeSession::kPoints; ++point) {
            for (int i = 0; i < timing.restFrames; ++i) {
                const ProbeSession::Sample s = session.next();
                QCOMPARE(s.point, point);
                QCOMPARE(s.phase, ProbeSession::Phase::Rest);
                QCOMPARE(s.reading, 0);
            }
            int previous = 0;
            for (int i = 0; i < timing.riseFrames; ++i) {
                const ProbeSession::Sample s = session.next();
                QCOMPARE(s.phase, ProbeSession::Phase::Rise);
                QVERIFY(s.reading > previous);
                previous = s.reading;
            }
            QCOMPARE(previous, point * 100);
            for (int i = 0; i < timing.holdFrames; ++i) {
                const ProbeSession::Sample s = session.next();
                QCOMPARE(s.phase, ProbeSession::Phase::Hold);
                QVERIFY(qAbs(s.reading - point * 100) <= 3);
            }
        }
        // The last lift, then the end of a single session.
        for (int i = 0; i < timing.restFrames; ++i)
            QCOMPARE(session.next().reading, 0);
        QVERIFY(session.atEnd());
        QCOMPARE(session.next().phase, ProbeSession::Phase::Done);
    }

    void aRepeatedSessionStartsOverAtPointOne()
    {
        const ProbeSession::Timing timing{1, 1, 1};
        ProbeSession session(ramp(), timing, 1, true);
        for (int i = 0; i < ProbeSession::kPoints * 3 + 1; ++i)
            session.next();
        QVERIFY(!session.atEnd());
        QCOMPARE(session.next().point, 1);
    }

    void drawnPlateausAreReproducibleAndInRange()
    {
        const QList<int> first = ProbeSession::drawPlateaus(42);
        QCOMPARE(first.size(), ProbeSession::kPoints);
        QCOMPARE(ProbeSession::drawPlateaus(42), first);
        QVERIFY(ProbeSession::drawPlateaus(43) != first);
        for (int value : first)
            QVERIFY(value >= 60 && value <= 900);
    }

    void plateausFromTheCommandLineNeedAll24InRange()
    {
        QCOMPARE(ProbeSession::parsePlateaus(QStringList(24, " 7").join(',')), QList<int>(24, 7));
        QVERIFY(!ProbeSession::parsePlateaus(QStringList(23, "7").join(',')));
        QVERIFY(!ProbeSession::parsePlateaus(QStringList(23, "7").join(',') + ",65536"));
        QVERIFY(!ProbeSession::parsePlateaus(QStringList(23, "7").join(',') + ",x"));
    }
};

QTEST_GUILESS_MAIN(TestProbeSession)
#include "test_probe_session.moc"
