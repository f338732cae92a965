// SPDX-License-Identifier: GPL-3.0-or-later
#include "Simulator.h"

#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kNoPausePeriodMs = 50;

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_unplug = 0;
volatile std::sig_atomic_t g_replug = 0;

void onSignal(int number)
{
    if (number == SIGUSR1)
        g_unplug = 1;
    else if (number == SIGUSR2)
        g_replug = 1;
    else
        g_stop = 1;
}

QByteArray frameOf(int reading)
{
    QByteArray frame(2, '\0');
    frame[0] = char((reading >> 8) & 0xff);
    frame[1] = char(reading & 0xff);
    return frame;
}

} // namespace

void Simulator::installSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2})
        sigaction(number, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

std::optional<Simulator::Mode> Simulator::modeOf(const QString &name)
{
    if (name == QLatin1String("normal"))
        return Mode::Normal;
    if (name == QLatin1String("garbage"))
        return Mode::Garbage;
    if (name == QLatin1String("nopause"))
        return Mode::NoPause;
    if (name == QLatin1String("silence"))
        return Mode::Silence;
    if (name == QLatin1String("lifted"))
        return Mode::Lifted;
    return std::nullopt;
}

Simulator::Simulator(const Options &options)
    : m_options(options), m_device(options.link),
      m_session(options.plateaus, options.timing, options.seed, options.repeat),
      m_noise(options.seed ^ 0x5eedu), m_mode(options.mode)
{
    m_clock.start();
}

void Simulator::say(const char *format, ...)
{
    std::printf("%9.3f  ", m_clock.elapsed() / 1000.0);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

void Simulator::print(const char *what, const QByteArray &bytes, int reading)
{
    if (m_options.quiet)
        return;
    QByteArray hex = bytes.toHex(' ').toUpper();
    if (reading >= 0)
        say("%-22s %5d  %s", what, reading, hex.constData());
    else
        say("%-22s        %s", what, hex.constData());
}

int Simulator::periodMs() const
{
    return m_mode == Mode::NoPause ? kNoPausePeriodMs : m_options.periodMs;
}

void Simulator::sendSession()
{
    const ProbeSession::Sample sample = m_session.next();
    if (sample.phase == ProbeSession::Phase::Done)
        return;
    const QByteArray frame = frameOf(sample.reading);
    m_device.send(frame);
    const QByteArray what = sample.point == 0 ? QByteArray("end of session")
                                              : QStringLiteral("point %1 %2")
                                                    .arg(sample.point, 2)
                                                    .arg(ProbeSession::phaseName(sample.phase))
                                                    .toLatin1();
    print(what.constData(), frame, sample.reading);
}

void Simulator::sendNoPause()
{
    m_noPauseReading = (m_noPauseReading % 999) + 1;
    const QByteArray frame = frameOf(m_noPauseReading);
    m_device.send(frame);
    print("frame without pause", frame, m_noPauseReading);
}

void Simulator::sendGarbage()
{
    // Bursts of three to eight bytes: never a frame on its own between pauses.
    QByteArray burst(int(3 + m_noise() % 6), '\0');
    for (char &byte : burst)
        byte = char(m_noise() & 0xff);
    m_device.sendAtOnce(burst);
    print("garbage", burst);
}

void Simulator::tick()
{
    if (!m_device.plugged())
        return;
    switch (m_mode) {
    case Mode::Normal:
        sendSession();
        break;
    case Mode::NoPause:
        sendNoPause();
        break;
    case Mode::Garbage:
        sendGarbage();
        break;
    case Mode::Silence:
        break;
    case Mode::Lifted:
        m_device.send(frameOf(0));
        print("lifted", frameOf(0), 0);
        break;
    }
}

void Simulator::command(const QByteArray &line)
{
    const QString word = QString::fromLatin1(line).trimmed().toLower();
    if (word.isEmpty())
        return;
    if (word == QLatin1String("quit")) {
        g_stop = 1;
    } else if (word == QLatin1String("unplug")) {
        g_unplug = 1;
    } else if (word == QLatin1String("replug") || word == QLatin1String("plug")) {
        g_replug = 1;
    } else if (const auto mode = modeOf(word)) {
        m_mode = *mode;
        say("mode %s", qPrintable(word));
    } else {
        say("unknown command: %s", qPrintable(word));
    }
}

void Simulator::readCommands()
{
    char chunk[256];
    const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (got <= 0) {
        m_stdinOpen = false;
        return;
    }
    m_input.append(chunk, int(got));
    for (int end = m_input.indexOf('\n'); end >= 0; end = m_input.indexOf('\n')) {
        command(m_input.left(end));
        m_input.remove(0, end + 1);
    }
}

int Simulator::run()
{
    if (!m_device.plug()) {
        std::fprintf(stderr, "%s\n", qPrintable(m_device.error()));
        return 1;
    }
    say("device at %s -> %s", qPrintable(m_device.linkPath()), qPrintable(m_device.ttyPath()));
    qint64 due = m_clock.elapsed();
    while (!g_stop) {
        if (g_unplug) {
            g_unplug = 0;
            m_device.unplug();
            say("unplugged");
        }
        if (g_replug) {
            g_replug = 0;
            if (m_device.plug())
                say("plugged in at %s", qPrintable(m_device.ttyPath()));
            else
                say("cannot plug in: %s", qPrintable(m_device.error()));
        }
        const qint64 now = m_clock.elapsed();
        if (now >= due) {
            tick();
            due += periodMs();
            if (due < now)
                due = now + periodMs();
            continue;
        }
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int ready = poll(&input, m_stdinOpen ? 1 : 0, int(due - now));
        if (ready > 0)
            readCommands();
    }
    m_device.unplug();
    return 0;
}
