// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CueTone.h"
#include "audio/TToneGen.h"
#include "support/PrivateSoundServer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

// The cue as it reaches the ear: played through the program's own sound output into a sound
// server that buffers, and counted in a recording of what the server played.
class TestCueSound : public QObject
{
    Q_OBJECT

    PrivateSoundServer m_server;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("pulseaudio and parec are needed (bash tools/deps.sh installs them)");
        QVERIFY(m_server.start());
        QVERIFY(!QMediaDevices::defaultAudioOutput().isNull());
        QVERIFY(m_server.record());
        QTRY_VERIFY_WITH_TIMEOUT(m_server.recording().size() > 0, 10000);
    }

    void everyCueIsHeardWhole_data()
    {
        QTest::addColumn<int>("cues");
        QTest::addColumn<int>("spacingMs");
        // The run's cadence while the probe stays on, and a point stored just after another.
        QTest::newRow("ten one a second") << 10 << 1000;
        QTest::newRow("two 300 ms apart") << 2 << 300;
    }

    void everyCueIsHeardWhole()
    {
        QFETCH(int, cues);
        QFETCH(int, spacingMs);
        const int before = m_server.bursts().size();
        TToneGen tone;
        CueTone::configure(tone);
        int played = 0;
        QTimer cadence;
        cadence.setTimerType(Qt::PreciseTimer);
        cadence.setInterval(spacingMs);
        connect(&cadence, &QTimer::timeout, this, [&] {
            tone.Play();
            if (++played == cues)
                cadence.stop();
        });
        tone.Play();
        ++played;
        cadence.start();
        // A lost cue never comes: the wait ends on the last cue heard or after the server's
        // latency has long passed.
        QDeadlineTimer deadline(cues * spacingMs + 10000);
        while (!deadline.hasExpired() &&
               (played < cues || m_server.bursts().size() - before < cues))
            QTest::qWait(50);
        const QList<PrivateSoundServer::Burst> heard = m_server.bursts().mid(before);
        int whole = 0;
        for (const PrivateSoundServer::Burst &burst : heard) {
            qInfo("cue %.1f ms, %.0f Hz", burst.ms, burst.hz);
            whole += int(burst.ms >= 95 && burst.ms <= 110 && qAbs(burst.hz - 440) < 10);
        }
        qInfo("%d cues played, %lld heard, %d whole", played, qlonglong(heard.size()), whole);
        QVERIFY(whole >= cues - cues / 10);
        QVERIFY(heard.size() <= cues);
    }
};

QTEST_GUILESS_MAIN(TestCueSound)
#include "test_cue_sound.moc"
