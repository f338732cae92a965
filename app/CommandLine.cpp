// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/SupportLog.h"

#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

namespace {

QHash<QString, CommandLine::Command> &commands()
{
    static QHash<QString, CommandLine::Command> registered;
    return registered;
}

const QStringList kMaintenance = {
    QStringLiteral("backup"),         QStringLiteral("restore"),
    QStringLiteral("verify"),         QStringLiteral("prune-history"),
    QStringLiteral("export-patient"), QStringLiteral("export-sheets")};
const QStringList kTwoValues = {QStringLiteral("restore"), QStringLiteral("export-patient")};
const QString kPseudonymous = QStringLiteral("pseudonymous");

// Qt's own options for the windows (-platform offscreen, -style fusion, -session ... from a
// session manager) pass through to the application unchanged.
QList<QCommandLineOption> qtWindowOptions()
{
    QList<QCommandLineOption> options;
    for (const char *name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "style", "stylesheet",
          "session", "qwindowgeometry", "qwindowicon", "qwindowtitle", "display", "geometry"})
        options.append(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("v")));
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        options.append(QCommandLineOption(QString::fromLatin1(name)));
    for (QCommandLineOption &option : options)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    return options;
}

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
{
    m_parser.setApplicationDescription(
        QStringLiteral(
            "Measures skin conductance at the 24 meridian points with a device on a serial port, "
            "shows the set in six diagrams and keeps patient cards in a database folder.\n"
            "Support log: ") +
        SupportLog::defaultPath());
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOptions({
        {QStringLiteral("backup"),
         QStringLiteral("Writes a backup of the database folder into <dir>, then ends."),
         QStringLiteral("dir")},
        {QStringLiteral("restore"),
         QStringLiteral("Restores the backup <zip> into the folder <dir>, then ends."),
         QStringLiteral("zip> <dir")},
        {QStringLiteral("verify"),
         QStringLiteral("Checks that the backup <zip> can be read whole, then ends."),
         QStringLiteral("zip")},
        {QStringLiteral("prune-history"),
         QStringLiteral("Removes the cards' history older than <years> years, then ends."),
         QStringLiteral("years")},
        {QStringLiteral("export-patient"),
         QStringLiteral("Writes the whole record of the card <id> as JSON into the new file "
                        "<file>, then ends."),
         QStringLiteral("id> <file")},
        {QStringLiteral("export-sheets"),
         QStringLiteral("Writes every sheet of every card as CSV into the new file <file>, then "
                        "ends."),
         QStringLiteral("file")},
        {kPseudonymous, QStringLiteral("With --export-sheets: pseudonyms for names and ids, only "
                                       "the birth year, no notes.")},
    });
    m_parser.addOptions(qtWindowOptions());
    m_parsed = m_parser.parse(arguments);
}

void CommandLine::setCommand(const QString &option, Command command)
{
    commands().insert(option, std::move(command));
}

bool CommandLine::opensWindow() const
{
    return m_parsed && !asksForHelp() && !m_parser.isSet(QStringLiteral("version")) &&
           maintenanceOption().isEmpty() && m_parser.positionalArguments().isEmpty() &&
           !m_parser.isSet(kPseudonymous);
}

bool CommandLine::asksForHelp() const
{
    return m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all"));
}

QString CommandLine::maintenanceOption() const
{
    for (const QString &option : kMaintenance) {
        if (m_parser.isSet(option))
            return option;
    }
    return QString();
}

QStringList CommandLine::valuesOf(const QString &option) const
{
    return QStringList{m_parser.value(option)} + m_parser.positionalArguments();
}

int CommandLine::run(QTextStream &out, QTextStream &err) const
{
    if (!m_parsed)
        return mistake(err, m_parser.errorText());
    if (asksForHelp()) {
        out << m_parser.helpText();
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return 0;
    }
    const QString option = maintenanceOption();
    if (m_parser.isSet(kPseudonymous) && option != QLatin1String("export-sheets"))
        return mistake(err, QStringLiteral("--pseudonymous goes with --export-sheets only"));
    if (option.isEmpty()) {
        return mistake(err, QStringLiteral("Unexpected arguments: ") +
                                m_parser.positionalArguments().join(QLatin1Char(' ')));
    }
    QStringList values = valuesOf(option);
    if (values.size() != (kTwoValues.contains(option) ? 2 : 1))
        return mistake(err, QStringLiteral("Wrong number of values for --") + option);
    if (m_parser.isSet(kPseudonymous))
        values << QStringLiteral("--") + kPseudonymous;
    const Command command = commands().value(option);
    if (!command) {
        err << "--" << option << " is not available in this build." << Qt::endl;
        return 1;
    }
    return command(values);
}

int CommandLine::mistake(QTextStream &err, const QString &text) const
{
    err << text << Qt::endl << m_parser.helpText();
    return 2;
}
