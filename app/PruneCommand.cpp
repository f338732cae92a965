// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PruneCommand.h"

#include "app/CommandLine.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SupportLog.h"
#include "records/CardHistory.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int prune(const QString &value)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool number = false;
    const int years = value.toInt(&number);
    if (!number || years < 1) {
        err << "--prune-history needs a whole number of years, at least 1: " << value << Qt::endl;
        return 2;
    }
    const QString settingsPath =
        ProgramFiles::settingsPath(QCoreApplication::applicationFilePath());
    const QString dbPath = Settings::load(settingsPath).dbPath;
    const QDate cutOff = QDate::currentDate().addYears(-years);
    SupportLog::write(QStringLiteral("command: Tavimer --prune-history %1").arg(years));
    QString error;
    const int removed = CardHistory::prune(dbPath, cutOff, &error);
    if (removed < 0) {
        SupportLog::write(QStringLiteral("command failed: ") + error);
        err << "Not all of the history could be pruned:" << Qt::endl << error << Qt::endl;
        return 1;
    }
    const QString done = QStringLiteral("History before %1 pruned in %2: %3 versions removed.")
                             .arg(cutOff.toString(Qt::ISODate), dbPath)
                             .arg(removed);
    SupportLog::write(QStringLiteral("command done: ") + done);
    out << done << Qt::endl;
    return 0;
}

} // namespace

void PruneCommand::connect()
{
    CommandLine::setCommand(QStringLiteral("prune-history"),
                            [](const QStringList &values) { return prune(values.value(0)); });
}
