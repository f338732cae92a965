// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasuringRun.h"

#include <QtTest>
#include <functional>

using Reading = std::function<int(int)>;

class TestMeasuringRun : public QObject
{
    Q_OBJECT

    struct Stored
    {
        int tick = -1;
        int value = -1;
    };

    // Feeds readings from tick 0 (the first tick of contact) until a value is stored.
    static Stored settle(MeasuringRun &run, const Reading &reading, int maxTicks = 200)
    {
        for (int t = 0; t < maxTicks; ++t) {
            const MeasuringRun::Tick tick = run.tick(reading(t));
            if (tick.storedValue)
                return {t, *tick.storedValue};
        }
        return {};
    }

    static MeasuringRun started()
    {
        MeasuringRun run;
        run.start();
        return run;
    }

private slots:
    void steadyReadingsSettleAfterTheGraceAndThirtyOneCountedTicks()
    {
        MeasuringRun fifty = started();
        const Stored at50 = settle(fifty, [](int) { return 50; });
        QCOMPARE(at50.tick, 52);
        QCOMPARE(at50.value, 50);

        MeasuringRun eight = started();
        QCOMPARE(settle(eight, [](int) { return 8; }).tick, 51);

        MeasuringRun jump = started();
        const Stored jumped = settle(jump, [](int t) { return t < 30 ? 50 : 80; });
        QCOMPARE(jumped.tick, 61);
        QCOMPARE(jumped.value, 80);
    }

    void theStoreTickShowsTheReleasePromptAndCuesComeOnceASecond()
    {
        MeasuringRun run = started();
        QList<int> cues;
        for (int t = 0; t <= 80; ++t) {
            const MeasuringRun::Tick tick = run.tick(50);
            if (t < 52)
                QCOMPARE(tick.prompt, MeasuringRun::Prompt::PointLabel);
            if (t == 52) {
                QCOMPARE(tick.storedPoint, 0);
                QCOMPARE(tick.prompt, MeasuringRun::Prompt::Release);
            }
            if (tick.playCue)
                cues << t;
        }
        QCOMPARE(cues, QList<int>({60, 70, 80}));
        const MeasuringRun::Tick lifted = run.tick(0);
        QVERIFY(!lifted.playCue);
        QCOMPARE(lifted.shownPoint, 0);
        QCOMPARE(lifted.prompt, MeasuringRun::Prompt::PointLabel);
        QCOMPARE(lifted.promptPoint, 1);
        QCOMPARE(run.PointIndex, 1);
        QCOMPARE(run.MeasState, int(MeasuringRun::WaitingForContact));
    }

    void contactNeedsMoreThanFive()
    {
        MeasuringRun five = started();
        for (int t = 0; t < 100; ++t)
            QVERIFY(!five.tick(5).storedValue);
        QCOMPARE(five.MeasState, int(MeasuringRun::WaitingForContact));
        MeasuringRun six = started();
        six.tick(6);
        QCOMPARE(six.MeasState, int(MeasuringRun::Settling));
        QCOMPARE(six.SettleCount, -19);
    }

    void aChangeOfTenKeepsTheCountAndElevenRestartsIt()
    {
        // Reference 50 from tick 21: stored at 52 unless a move restarts the count.
        MeasuringRun ten = started();
        QCOMPARE(settle(ten, [](int t) { return t >= 40 ? 60 : 50; }).tick, 52);
        MeasuringRun eleven = started();
        QCOMPARE(settle(eleven, [](int t) { return t >= 40 ? 61 : 50; }).tick, 71);
    }

    void lowReadingsWhileWaitingForReleaseNeitherReleaseNorCount()
    {
        MeasuringRun run = started();
        settle(run, [](int) { return 50; });
        int cues = 0;
        for (int t = 0; t < 30; ++t) {
            const MeasuringRun::Tick tick = run.tick(1 + t % 5);
            cues += tick.playCue ? 1 : 0;
            QCOMPARE(tick.prompt, MeasuringRun::Prompt::Release);
        }
        QCOMPARE(cues, 3);
        QCOMPARE(run.PointIndex, 0);
        QCOMPARE(run.MeasState, int(MeasuringRun::WaitingForRelease));
    }

    void aProbeLeavingOnTheStoringTickKeepsTheSettledReadingAndCues()
    {
        MeasuringRun run = started();
        for (int t = 0; t < 52; ++t)
            QVERIFY(!run.tick(186).storedValue);
        const MeasuringRun::Tick storing = run.tick(0);
        QCOMPARE(storing.storedValue, std::optional<int>(186));
        QVERIFY(storing.playCue);
        QCOMPARE(run.MeasState, int(MeasuringRun::WaitingForRelease));
        run.tick(0);
        QCOMPARE(run.PointIndex, 1);
        QCOMPARE(run.MeasState, int(MeasuringRun::WaitingForContact));
    }

    void afterTheLastPointTheRunStopsOnTheIdlePicture()
    {
        MeasuringRun run = started();
        QList<int> storedPoints;
        for (int point = 0; point < 24; ++point) {
            const Stored stored = settle(run, [point](int) { return 100 + point; });
            QCOMPARE(stored.value, 100 + point);
            storedPoints << point;
            run.tick(0);
        }
        QCOMPARE(storedPoints.size(), 24);
        QCOMPARE(run.PointIndex, -1);
        QCOMPARE(run.MeasState, int(MeasuringRun::Stopped));
        const MeasuringRun::Tick idle = run.tick(50);
        QCOMPARE(idle.shownPoint, -1);
        QCOMPARE(idle.prompt, MeasuringRun::Prompt::Empty);
    }

    void nextAndPrevStayWithinTheMapAndBrowseWithoutMeasuring()
    {
        MeasuringRun run;
        run.prev();
        QCOMPARE(run.PointIndex, -1);
        run.next();
        QCOMPARE(run.PointIndex, 0);
        for (int t = 0; t < 100; ++t) {
            const MeasuringRun::Tick tick = run.tick(50);
            QVERIFY(!tick.storedValue);
            QCOMPARE(tick.shownPoint, 0);
            QCOMPARE(tick.prompt, MeasuringRun::Prompt::Empty);
        }
        run.prev();
        QCOMPARE(run.PointIndex, 0);
        run.PointIndex = 23;
        run.next();
        QCOMPARE(run.PointIndex, 23);
    }

    void startMidRunBeginsAgainAtPointOneWaitingForContact()
    {
        MeasuringRun run = started();
        settle(run, [](int) { return 50; });
        run.tick(0);
        run.tick(40);
        QCOMPARE(run.MeasState, int(MeasuringRun::Settling));
        run.start();
        QCOMPARE(run.PointIndex, 0);
        QCOMPARE(run.MeasState, int(MeasuringRun::WaitingForContact));
    }

    void onlyFramesTheDeviceSentMoveTheRun_data()
    {
        // Segments of ticks from the first tick of contact: feed (Fresh, Held, Lost), the
        // displayed reading and the number of ticks.
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<int>("storedAt");
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("state");
        const int contact = MeasuringRun::WaitingForContact;
        const int release = MeasuringRun::WaitingForRelease;
        // Gone 0.6 s before settling: the display holds the last reading until the loss.
        QTest::newRow("lost near the end of settling")
            << "F999x47 H999x6 L0x10" << -1 << 0 << contact;
        QTest::newRow("back after the loss")
            << "F999x47 H999x6 L0x10 F999x60" << 63 + 52 << 0 << release;
        QTest::newRow("lost while the probe is on") << "F50x53 L0x10" << 52 << 0 << release;
        QTest::newRow("lifted once back") << "F50x53 L0x10 F0x1" << 52 << 1 << contact;
        QTest::newRow("held reading is no contact") << "H50x30" << -1 << 0 << contact;
        QTest::newRow("contact once fresh") << "H50x30 F50x53" << 30 + 52 << 0 << release;
    }

    void onlyFramesTheDeviceSentMoveTheRun()
    {
        QFETCH(QString, ticks);
        QFETCH(int, storedAt);
        MeasuringRun run = started();
        const QHash<QChar, MeasuringRun::Feed> feeds = {{'F', MeasuringRun::Feed::Fresh},
                                                        {'H', MeasuringRun::Feed::Held},
                                                        {'L', MeasuringRun::Feed::Lost}};
        int t = 0;
        int stored = -1;
        for (const QString &segment : ticks.split(' ')) {
            const QStringList parts = segment.mid(1).split('x');
            for (int i = 0; i < parts[1].toInt(); ++i, ++t) {
                if (run.tick(parts[0].toInt(), feeds[segment[0]]).storedValue && stored < 0)
                    stored = t;
            }
        }
        QCOMPARE(stored, storedAt);
        QTEST(run.PointIndex, "point");
        QTEST(run.MeasState, "state");
    }

    void aFrameIsFreshUntilTheDevicesPaceHasPassed()
    {
        using Feed = MeasuringRun::Feed;
        QCOMPARE(MeasuringRun::feedOf("999", 0), Feed::Fresh);
        QCOMPARE(MeasuringRun::feedOf("999", MeasuringRun::kFreshMs), Feed::Fresh);
        QCOMPARE(MeasuringRun::feedOf("999", MeasuringRun::kFreshMs + 1), Feed::Held);
        QCOMPARE(MeasuringRun::feedOf("0", -1), Feed::Held);
        QCOMPARE(MeasuringRun::feedOf("- - -", 0), Feed::Lost);
    }

    void displayTextsThatAreNotIntegersReadAsZero()
    {
        QCOMPARE(MeasuringRun::readingFromText("- - -"), 0);
        QCOMPARE(MeasuringRun::readingFromText(""), 0);
        QCOMPARE(MeasuringRun::readingFromText("12.5"), 0);
        QCOMPARE(MeasuringRun::readingFromText("65535"), 65535);
    }
};

QTEST_GUILESS_MAIN(TestMeasuringRun)
#include "test_measuring_run.moc"
