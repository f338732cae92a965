// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "Simulator.h"
#include "platform/ProfileFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

int framesOf(const QCommandLineParser &parser, const QString &name, int periodMs, int fallback)
{
    if (!parser.isSet(name))
        return fallback;
    return qMax(1, int(parser.value(name).toDouble() * 1000 / periodMs + 0.5));
}

std::optional<Simulator::Options> parse(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated measuring device on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addVersionOption();
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
        {QStringLiteral("jitter"),
         QStringLiteral("Largest random step around a plateau, kept well inside the run's "
                        "movement threshold (3)."),
         QStringLiteral("n")},
        {QStringLiteral("period"), QStringLiteral("Milliseconds between frames (200)."),
         QStringLiteral("ms")},
        {QStringLiteral("fault"),
         QStringLiteral("Start in a fault mode: garbage, nopause, silence, lifted."),
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
    Simulator::Options options;
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
    if (parser.isSet(QStringLiteral("jitter")))
        options.timing.jitter = qBound(0, parser.value(QStringLiteral("jitter")).toInt(), 10);
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
        const auto mode = Simulator::modeOf(parser.value(QStringLiteral("fault")));
        if (!mode || *mode == Simulator::Mode::Normal) {
            std::fprintf(stderr, "unknown fault mode\n");
            return std::nullopt;
        }
        options.mode = *mode;
    }
    return options;
}

bool registerLink(const QString &iniPath, const QString &link)
{
    // A new user has no configuration folder until the program has ended once.
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    ProfileFile ini(iniPath, ProfileFile::OwnSettings);
    QStringList ports = ini.readString(QStringLiteral("Device"), QStringLiteral("Ports"))
                            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (ports.contains(link))
        return true;
    ports.append(link);
    return ini.writeString(QStringLiteral("Device"), QStringLiteral("Ports"),
                           ports.join(QLatin1Char(';')));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavimer-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIMER_VERSION));
    const std::optional<Simulator::Options> options = parse(app);
    if (!options)
        return 2;
    if (!options->registerIn.isEmpty() && !registerLink(options->registerIn, options->link)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options->registerIn));
        return 1;
    }
    Simulator::installSignals();
    Simulator simulator(*options);
    return simulator.run();
}
