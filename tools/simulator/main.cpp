// A stand-in for the measuring device, for tests, demonstrations and training without hardware.
// It serves a pseudo-terminal behind a symbolic link and sends two-byte readings (high byte
// first) at 9600-bit/s pace, one frame per period with the line silent in between, playing a
// probe session over the 24 points. Every frame sent is printed.
//
// Commands on standard input, one per line (also as signals where given):
//   unplug (SIGUSR1)   close the terminal and remove the link: the device is gone
//   replug (SIGUSR2)   a fresh terminal behind the link
//   garbage            random bursts that never make a frame
//   nopause            frames 50 ms apart, with no pause between them
//   silence            send nothing, as a device that has lost power
//   normal             back to the probe session
//   quit
#include "ProbeSession.h"
#include "PtyDevice.h"
#include "platform/ProfileFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <poll.h>
#include <random>
#include <unistd.h>

namespace {

enum class Mode
{
    Normal,
    Garbage,
    NoPause,
    Silence
};

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

void installSignals()
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

int framesOf(const QCommandLineParser &parser, const QString &name, int periodMs, int fallback)
{
    if (!parser.isSet(name))
        return fallback;
    return qMax(1, int(parser.value(name).toDouble() * 1000 / periodMs + 0.5));
}

std::optional<Mode> modeOf(const QString &name)
{
    if (name == QLatin1String("normal"))
        return Mode::Normal;
    if (name == QLatin1String("garbage"))
        return Mode::Garbage;
    if (name == QLatin1String("nopause"))
        return Mode::NoPause;
    if (name == QLatin1String("silence"))
        return Mode::Silence;
    return std::nullopt;
}

std::optional<Options> parse(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated measuring device on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("link"),
                                 QStringLiteral("Path of the symbolic link to the terminal."));
    parser.addOptions({
        {QStringLiteral("values"), QStringLiteral("24 plateau readings, comma-separated."),
         QStringLiteral("list")},
        {QStringLiteral("seed"), QStringLiteral("Draw the plateaus from this seed (default 1)."),
         QStringLiteral("n")},
        {QStringLiteral("once"), QStringLiteral("Play the session once, then fall silent.")},
        {QStringLiteral("rest"), QStringLiteral("Seconds without contact before each point (2)."),
         QStringLiteral("s")},
        {QStringLiteral("rise"), QStringLiteral("Seconds of settling after contact (1.6)."),
         QStringLiteral("s")},
        {QStringLiteral("hold"), QStringLiteral("Seconds on the plateau (8)."),
         QStringLiteral("s")},
        {QStringLiteral("period"), QStringLiteral("Milliseconds between frames (200)."),
         QStringLiteral("ms")},
        {QStringLiteral("fault"),
         QStringLiteral("Start in a fault mode: garbage, nopause, silence."),
         QStringLiteral("mode")},
        {QStringLiteral("quiet"), QStringLiteral("Do not print the frames.")},
        {QStringLiteral("register"),
         QStringLiteral("Add the link to [Device] Ports of this settings file, then go on."),
         QStringLiteral("ini")},
    });
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return std::nullopt;
    }
    Options options;
    options.link = parser.positionalArguments().constFirst();
    options.seed = parser.value(QStringLiteral("seed")).toUInt();
    if (!parser.isSet(QStringLiteral("seed")))
        options.seed = 1;
    options.repeat = !parser.isSet(QStringLiteral("once"));
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    options.registerIn = parser.value(QStringLiteral("register"));
    if (parser.isSet(QStringLiteral("period")))
        options.periodMs = qMax(20, parser.value(QStringLiteral("period")).toInt());
    options.timing.restFrames = framesOf(parser, QStringLiteral("rest"), options.periodMs, 10);
    options.timing.riseFrames = framesOf(parser, QStringLiteral("rise"), options.periodMs, 8);
    options.timing.holdFrames = framesOf(parser, QStringLiteral("hold"), options.periodMs, 40);
    if (parser.isSet(QStringLiteral("values"))) {
        const auto plateaus = ProbeSession::parsePlateaus(parser.value(QStringLiteral("values")));
        if (!plateaus) {
            std::fprintf(stderr, "--values needs 24 numbers from 0 to 65535\n");
            return std::nullopt;
        }
        options.plateaus = *plateaus;
    } else {
        options.plateaus = ProbeSession::drawPlateaus(options.seed);
    }
    if (parser.isSet(QStringLiteral("fault"))) {
        const auto mode = modeOf(parser.value(QStringLiteral("fault")));
        if (!mode || *mode == Mode::Normal) {
            std::fprintf(stderr, "unknown fault mode\n");
            return std::nullopt;
        }
        options.mode = *mode;
    }
    return options;
}

bool registerLink(const QString &iniPath, const QString &link)
{
    ProfileFile ini(iniPath);
    QStringList ports = ini.readString(QStringLiteral("Device"), QStringLiteral("Ports"))
                            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (ports.contains(link))
        return true;
    ports.append(link);
    return ini.writeString(QStringLiteral("Device"), QStringLiteral("Ports"),
                           ports.join(QLatin1Char(';')));
}

class Simulator
{
public:
    explicit Simulator(const Options &options)
        : m_options(options), m_device(options.link),
          m_session(options.plateaus, options.timing, options.seed, options.repeat),
          m_noise(options.seed ^ 0x5eedu), m_mode(options.mode)
    {
        m_clock.start();
    }

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

QByteArray frameOf(int reading)
{
    QByteArray frame(2, '\0');
    frame[0] = char((reading >> 8) & 0xff);
    frame[1] = char(reading & 0xff);
    return frame;
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
    m_device.send(burst);
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavimer-sim"));
    const std::optional<Options> options = parse(app);
    if (!options)
        return 2;
    if (!options->registerIn.isEmpty() && !registerLink(options->registerIn, options->link)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options->registerIn));
        return 1;
    }
    installSignals();
    Simulator simulator(*options);
    return simulator.run();
}
