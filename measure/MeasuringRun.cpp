// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasuringRun.h"

#include "measure/DeviceLink.h"

#include <cstdlib>

MeasuringRun::Feed MeasuringRun::feedOf(const QString &text, qint64 msSinceFrame)
{
    if (text == DeviceLink::noValueText())
        return Feed::Lost;
    return msSinceFrame >= 0 && msSinceFrame <= kFreshMs ? Feed::Fresh : Feed::Held;
}

MeasuringRun::Tick MeasuringRun::tick(int reading, Feed feed)
{
    Tick out;
    if (PointIndex >= 0) {
        out.shownPoint = PointIndex;
        out.blinkPhase = BlinkPhase;
        if (feed == Feed::Lost && MeasState == Settling)
            MeasState = WaitingForContact;
        if (feed == Feed::Fresh)
            stepReading(reading, out);
        out.playCue = out.playCue || (MeasState == WaitingForRelease && CuePhase == 0);
        CuePhase = (CuePhase + 1) % kPhaseTicks;
        out.prompt = prompt();
        out.promptPoint = out.prompt == Prompt::PointLabel ? PointIndex : -1;
    }
    BlinkPhase = (BlinkPhase + 1) % kPhaseTicks;
    return out;
}

void MeasuringRun::stepReading(int r, Tick &out)
{
    stepContact(r);
    // The release is only taken on a later tick than the store.
    if (!stepStore(r, out))
        stepRelease(r);
    stepMovement(r);
    stepCount(r);
}

void MeasuringRun::stepContact(int r)
{
    if (MeasState == WaitingForContact && r > kContactThreshold) {
        MeasState = Settling;
        SettleCount = kGraceTicks;
        RefReading = 0;
    }
}

bool MeasuringRun::stepStore(int r, Tick &out)
{
    if (MeasState == Settling && SettleCount > kSettledCount) {
        // A probe leaving on the storing tick must not turn a settled point into 0:
        // the point gets its settled reading, and the cue sounds now, while the
        // practitioner can still hear which point was taken.
        const bool leaving = r <= kContactThreshold;
        out.storedValue = leaving ? SettledReading : r;
        out.storedPoint = PointIndex;
        out.playCue = leaving;
        MeasState = WaitingForRelease;
        return true;
    }
    return false;
}

void MeasuringRun::stepRelease(int r)
{
    if (MeasState != WaitingForRelease || r != 0)
        return;
    if (PointIndex >= kPointCount - 1) {
        PointIndex = -1;
        MeasState = Stopped;
    } else {
        ++PointIndex;
        MeasState = WaitingForContact;
    }
}

void MeasuringRun::stepMovement(int r)
{
    // Wide arithmetic: readings span 0..65535 but the difference must never overflow.
    const long long difference = std::llabs(static_cast<long long>(r) - RefReading);
    if (difference > kMovementTolerance && SettleCount > 0) {
        RefReading = r;
        SettleCount = 0;
    }
}

void MeasuringRun::stepCount(int r)
{
    if (MeasState == Settling && r > kContactThreshold) {
        ++SettleCount;
        SettledReading = r;
    }
}

MeasuringRun::Prompt MeasuringRun::prompt() const
{
    switch (MeasState) {
    case WaitingForContact:
    case Settling:
        return Prompt::PointLabel;
    case WaitingForRelease:
        return Prompt::Release;
    default:
        return Prompt::Empty;
    }
}

void MeasuringRun::start()
{
    PointIndex = 0;
    MeasState = WaitingForContact;
}

void MeasuringRun::next()
{
    if (PointIndex < kPointCount - 1)
        ++PointIndex;
}

void MeasuringRun::prev()
{
    if (PointIndex > 0)
        --PointIndex;
}

int MeasuringRun::readingFromText(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}
