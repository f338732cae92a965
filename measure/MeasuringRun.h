// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// The state of a 24-point measuring run, advanced once per 100 ms tick with the live
// reading. It knows no window: each tick returns what the window has to show and do.
class MeasuringRun
{
public:
    static constexpr int kPointCount = 24;

    enum State
    {
        Stopped = 0,
        WaitingForContact = 1,
        Settling = 2,
        WaitingForRelease = 3
    };
    enum class Prompt
    {
        Empty,
        PointLabel,
        Release
    };

    struct Tick
    {
        // -1: show the idle picture; otherwise show this point with the blink phase.
        int shownPoint = -1;
        int blinkPhase = 0;
        // A settled reading to write into the cell of point storedPoint.
        std::optional<int> storedValue;
        int storedPoint = -1;
        bool playCue = false;
        Prompt prompt = Prompt::Empty;
        // The point whose label the prompt line shows (after any move on this tick).
        int promptPoint = -1;
    };

    // Where the tick's reading comes from. Only a reading of a frame the device has just sent
    // moves the run; a held one pauses it, and a lost device also makes an unsettled point
    // start afresh, so that nothing is stored or released on a device that is gone.
    enum class Feed
    {
        Fresh,
        Held,
        Lost
    };
    // A frame older than this is held: longer than a device's pace between frames.
    static constexpr int kFreshMs = 350;
    // The feed of a displayed text whose frame came msSinceFrame ago (-1: none yet).
    static Feed feedOf(const QString &text, qint64 msSinceFrame);

    Tick tick(int reading, Feed feed = Feed::Fresh);
    // After the calibration prompt was confirmed: measure from point 1.
    void start();
    void next();
    void prev();

    // The display's text as a reading: anything but a decimal integer is 0.
    static int readingFromText(const QString &text);

    int PointIndex = -1;
    int MeasState = Stopped;
    int RefReading = 0;
    int SettleCount = 0;
    int CuePhase = 0;
    int BlinkPhase = 0;
    // The reading of the last tick that counted towards settling.
    int SettledReading = 0;

private:
    static constexpr int kContactThreshold = 5;
    static constexpr int kGraceTicks = -20;
    static constexpr int kSettledCount = 30;
    static constexpr int kMovementTolerance = 10;
    static constexpr int kPhaseTicks = 10;

    void stepReading(int r, Tick &out);
    void stepContact(int r);
    // True when a reading was stored on this tick.
    bool stepStore(int r, Tick &out);
    void stepRelease(int r);
    void stepMovement(int r);
    void stepCount(int r);
    Prompt prompt() const;
};
