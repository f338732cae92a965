// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

// What the command line asks for, decided before any window (or display) is needed: the
// program's window, or an answer printed in the terminal (--help, --version, a mistake) or a
// maintenance command run without a window.
class CommandLine
{
public:
    // A maintenance command: gets its values (--restore: the zip file and the folder), returns
    // the program's exit status.
    using Command = std::function<int(const QStringList &values)>;

    // The arguments as given, the program's name first.
    explicit CommandLine(const QStringList &arguments);

    // Connects the maintenance option "backup", "restore", "verify", "prune-history",
    // "export-patient" or "export-sheets" to what does it.
    static void setCommand(const QString &option, Command command);

    bool opensWindow() const;
    // Prints the answer or runs the command; the exit status.
    int run(QTextStream &out, QTextStream &err) const;

private:
    bool asksForHelp() const;
    QString maintenanceOption() const;
    QStringList valuesOf(const QString &option) const;
    int mistake(QTextStream &err, const QString &text) const;

    QCommandLineParser m_parser;
    bool m_parsed = false;
};
