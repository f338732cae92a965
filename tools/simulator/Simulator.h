// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProbeSession.h"
#include "PtyDevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <optional>
#include <random>

// The simulated device's main loop: sends a frame whenever one is due and takes commands from
// standard input and signals in between.
class Simulator
{
public:
    enum class Mode
    {
        Normal,
        Garbage,
        NoPause,
        Silence,
        // The probe rests off the skin: readings of 0 while the session waits.
        Lifted
    };

    struct Options
    {
        QString link;
        QList<int> plateaus;
        ProbeSession::Timing timing;
        quint32 seed = 1;
        bool repeat = true;
        int periodMs = 200;
        Mode mode = Mode::Normal;
        bool quiet = false;
        QString registerIn;
    };

    explicit Simulator(const Options &options);

    // SIGUSR1 unplugs, SIGUSR2 plugs in again, SIGINT, SIGTERM and SIGHUP end the run.
    static void installSignals();
    static std::optional<Mode> modeOf(const QString &name);

    int run();

private:
    void tick();
    void sendSession();
    void sendNoPause();
    void sendGarbage();
    void command(const QByteArray &line);
    void readCommands();
    void say(const char *format, ...) __attribute__((format(printf, 2, 3)));
    void print(const char *what, const QByteArray &bytes, int reading = -1);
    int periodMs() const;

    Options m_options;
    PtyDevice m_device;
    ProbeSession m_session;
    std::mt19937 m_noise;
    Mode m_mode;
    QElapsedTimer m_clock;
    QByteArray m_input;
    bool m_stdinOpen = true;
    int m_noPauseReading = 0;
};
