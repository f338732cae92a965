// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackupCommand.h"

#include "app/Catalogue.h"
#include "app/CatalogueChoice.h"
#include "app/CommandLine.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SupportLog.h"
#include "records/BackupReader.h"
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <csignal>

namespace {

volatile std::sig_atomic_t stopAsked = 0;

void askStop(int)
{
    stopAsked = 1;
}

bool goOn(qint64, qint64)
{
    return stopAsked == 0;
}

class Command
{
public:
    Command()
        : m_programPath(QCoreApplication::applicationFilePath()),
          m_catalogue(CatalogueChoice::path(m_programPath),
                      CatalogueChoice::language(m_programPath)),
          m_out(stdout), m_err(stderr)
    {
    }

    int run(const QStringList &arguments);

private:
    int backup(const QString &folder);
    int report(const BackupResult &result, const QString &doneKey);
    int usage();
    QString text(const QString &key) const
    {
        return m_catalogue.text(QStringLiteral("Backup"), key)
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }

    QString m_programPath;
    Catalogue m_catalogue;
    QTextStream m_out;
    QTextStream m_err;
};

int Command::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    SupportLog::write(
        QStringLiteral("command: Tavimer %1 %2")
            .arg(QCoreApplication::applicationVersion(), arguments.join(QLatin1Char(' '))));
    if (command == QLatin1String("--backup") && arguments.size() == 2)
        return backup(arguments[1]);
    if (command == QLatin1String("--restore") && arguments.size() == 3)
        return report(BackupRestore::restore(arguments[1], arguments[2], goOn),
                      QStringLiteral("Restored"));
    if (command == QLatin1String("--verify") && arguments.size() == 2)
        return report(BackupReader::read(arguments[1], QString(), goOn),
                      QStringLiteral("Verified"));
    return usage();
}

int Command::backup(const QString &folder)
{
    const QString settingsPath = ProgramFiles::settingsPath(m_programPath);
    const QDateTime now = QDateTime::currentDateTime();
    const BackupResult result =
        BackupWriter::write(Settings::load(settingsPath).dbPath, folder, now, goOn);
    if (result.ok()) {
        Settings::Backup kept = Settings::loadBackup(settingsPath);
        kept.last = now;
        kept.folder = QDir(folder).absolutePath();
        Settings::saveBackup(settingsPath, kept);
    }
    if (!result.inUse.isEmpty())
        m_err << QString(text(QStringLiteral("InUse")))
                     .replace(QLatin1String("%s"), result.inUse.join(QStringLiteral(", ")))
              << Qt::endl;
    if (!result.ok())
        return report(result, QString());
    SupportLog::write(QStringLiteral("command done: ") + result.path);
    m_out << result.path << Qt::endl;
    return 0;
}

int Command::report(const BackupResult &result, const QString &doneKey)
{
    const QString message =
        result.messageWithReason(text(result.ok() ? doneKey : result.messageKey()))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    SupportLog::write(
        QStringLiteral("command %1: %2")
            .arg(result.ok() ? QStringLiteral("done") : QStringLiteral("failed"), message));
    if (!result.ok()) {
        m_err << message << Qt::endl;
        return 1;
    }
    m_out << message << Qt::endl;
    return 0;
}

int Command::usage()
{
    m_err << "tavimer --backup DIR | --restore ZIP DIR | --verify ZIP" << Qt::endl;
    return 2;
}

} // namespace

void BackupCommand::connect()
{
    for (const char *option : {"backup", "restore", "verify"}) {
        const QString name = QString::fromLatin1(option);
        CommandLine::setCommand(name, [name](const QStringList &values) {
            // Ended by a signal, the work is cancelled and its partial file or folder removed.
            std::signal(SIGINT, askStop);
            std::signal(SIGTERM, askStop);
            return Command().run(QStringList{QStringLiteral("--") + name} + values);
        });
    }
}
