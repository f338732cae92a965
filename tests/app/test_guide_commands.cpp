// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FileBytes.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

QString source(const QString &name)
{
    return qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/" + name;
}

// The administrator's guide's fenced blocks whose info string is `info`.
QStringList guideBlocks(const QString &info)
{
    const QString guide = QString::fromUtf8(readFile(source("docs/administration.md")));
    const QRegularExpression fence("^```" + QRegularExpression::escape(info) + "\\n(.*?)^```$",
                                   QRegularExpression::MultilineOption |
                                       QRegularExpression::DotMatchesEverythingOption);
    QStringList found;
    for (auto it = fence.globalMatch(guide); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// Relative path to bytes, and each entry's mode, of everything under `folder`.
QMap<QString, QByteArray> treeOf(const QString &folder, QMap<QString, int> *modes = nullptr)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(folder).relativeFilePath(it.next());
        tree.insert(relative, it.fileInfo().isDir() ? "folder" : readFile(it.filePath()));
        if (modes)
            modes->insert(relative, modeOf(it.filePath()));
    }
    return tree;
}

void verifyOwnerOnly(const QString &path)
{
    QMap<QString, int> modes;
    treeOf(path, &modes);
    modes.insert(".", modeOf(path));
    for (auto it = modes.cbegin(); it != modes.cend(); ++it)
        QVERIFY2(it.value() == (QFileInfo(path + "/" + it.key()).isDir() ? 0700 : 0600),
                 qPrintable(QString("%1/%2: %3").arg(path, it.key()).arg(it.value(), 0, 8)));
}

} // namespace

// Runs the commands of the administrator's guide as they stand there, in a bare environment as
// cron and systemd give one, with the program installed in a throwaway tree on PATH.
class TestGuideCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_bin = m_dir.filePath("usr/bin");

    QString database(const QString &home) const
    {
        return home + "/.local/share/Kelvaro/Tavimer/Database";
    }

    // A home with cards, an archived one and settings, as a user who works has them.
    QString userWithCards(const QString &name)
    {
        const QString home = m_dir.filePath(name);
        const QString db = database(home);
        QDir().mkpath(db + "/arc");
        QDir().mkpath(home + "/.config/Kelvaro");
        writeFile(db + "/BXEQ0001.sza", "[SzemelyiAdatok]\r\nNev=Kiss \xc1gnes\r\n");
        writeFile(db + "/BXEQ0001.kl", QByteArray(464 * 3, '\x07'));
        writeFile(db + "/arc/BXEA0002.sza", "[SzemelyiAdatok]\r\nNev=Arch\r\n");
        writeFile(home + "/.config/Kelvaro/tavimer.ini",
                  "[Main]\r\nLanguage=en\r\n[Database]\r\nDBPath=" + db.toUtf8() +
                      "/\r\n[Privacy]\r\nHideNames=1\r\n[Backup]\r\nRemindDays=3\r\n");
        return home;
    }

    // Exit code of `command` run as the user of `home`: nobody's when `asNobody` and root.
    int run(const QStringList &command, const QString &home, bool asNobody, QByteArray *output)
    {
        QProcess process;
        QProcessEnvironment env;
        env.insert("HOME", home);
        env.insert("PATH", m_bin + ":/usr/bin:/bin");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (asNobody && ::geteuid() == 0) {
            QProcess::execute("chown", {"-R", "65534:65534", home});
            process.start("setpriv",
                          QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--"} +
                              command);
        } else {
            // Looked up as cron's shell and systemd do, in the PATH given, not the test's.
            process.start(QStandardPaths::findExecutable(command[0], env.value("PATH").split(':')),
                          command.mid(1));
        }
        if (!process.waitForFinished(120000))
            process.kill();
        process.waitForFinished();
        *output = process.readAll();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    int shell(const QString &script, const QString &home, QByteArray *output, bool nobody = false)
    {
        return run({"sh", "-e", "-c", script}, home, nobody, output);
    }

private slots:
    void initTestCase()
    {
        ::umask(022);
        QVERIFY(QDir().mkpath(m_bin) && QDir().mkpath(m_dir.filePath("usr/share/tavimer")));
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tavimer",
                            m_bin + "/tavimer"));
        for (const QString name : {"tavimer.dat", "tavimer-en.dat"})
            QVERIFY(
                QFile::copy(source("assets/" + name), m_dir.filePath("usr/share/tavimer/") + name));
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    }

    void nightlyBackupWorksFromTheFirstNight_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("log");
        const QStringList cron = guideBlocks("crontab");
        QCOMPARE(cron.size(), 1);
        // The five time fields, then the command, which cron hands to sh with % as a line break.
        const QRegularExpression line("^30 2 \\* \\* \\* ([^%]+)$");
        QVERIFY2(line.match(cron[0].trimmed()).hasMatch(), qPrintable(cron[0]));
        QTest::newRow("cron") << QStringList{"sh", "-c", line.match(cron[0].trimmed()).captured(1)}
                              << "tavimer-backup.log";
        QString service;
        for (const QString unit : {"tavimer-backup.service", "tavimer-backup.timer"}) {
            const QStringList shown = guideBlocks("ini " + unit);
            QCOMPARE(shown,
                     QStringList{QString::fromUtf8(readFile(source("assets/systemd/" + unit)))});
            service += shown[0];
        }
        const QString exec = QRegularExpression("ExecStart=(.*)\n").match(service).captured(1);
        QTest::newRow("systemd") << exec.split(' ') << QString();
    }

    void nightlyBackupWorksFromTheFirstNight()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, log);
        const QString home = userWithCards(QTest::currentDataTag());
        for (QString &word : command)
            word.replace("%h", home);
        QByteArray output;
        for (int night = 0; night < 2; ++night)
            QVERIFY2(run(command, home, false, &output) == 0, output.constData());
        const QString folder = home + "/Tavimer-backups";
        const QStringList zips = QDir(folder).entryList({"Tavimer-*.zip"}, QDir::Files);
        QCOMPARE(zips.size(), 2);
        verifyOwnerOnly(folder);
        for (const QString &zip : zips)
            QVERIFY(log.isEmpty() ||
                    readFile(home + "/" + log).contains((folder + "/" + zip).toUtf8()));
    }

    void unitFilesPassSystemdsCheck()
    {
        if (QStandardPaths::findExecutable("systemd-analyze").isEmpty())
            QSKIP("systemd-analyze is not installed");
        QTemporaryDir runtime;
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        check.setProcessEnvironment(env);
        check.start("systemd-analyze", {"verify", "--man=no", "--user",
                                        source("assets/systemd/tavimer-backup.service"),
                                        source("assets/systemd/tavimer-backup.timer")});
        QVERIFY(check.waitForFinished(60000));
        // Only a program that is not installed where systemd looks may be reported.
        QString said = QString::fromUtf8(check.readAll());
        said.remove(QRegularExpression(".*Command tavimer is not executable.*\n?"));
        QVERIFY2(said.trimmed().isEmpty(), qPrintable(said));
    }

    void restoreGivesBackTheSameCardsOwnerOnly()
    {
        const QString home = userWithCards("restore");
        const QStringList restore = guideBlocks("sh restore");
        QCOMPARE(restore.size(), 1);
        QByteArray output;
        QVERIFY2(shell("tavimer --backup ~/Tavimer-backups", home, &output) == 0,
                 output.constData());
        QVERIFY2(shell(restore[0], home, &output) == 0, output.constData());
        QCOMPARE(treeOf(home + "/Tavimer-restored"), treeOf(database(home)));
        verifyOwnerOnly(home + "/Tavimer-restored");
    }

    void movingToANewComputerKeepsCardsAndSettings()
    {
        const QStringList from = guideBlocks("sh move-from");
        const QStringList to = guideBlocks("sh move-to");
        QVERIFY(from.size() == 1 && to.size() == 1);
        const QString old = userWithCards("old-computer");
        const QString home = m_dir.filePath("new-computer");
        QByteArray output;
        QVERIFY2(shell(from[0], old, &output) == 0, output.constData());
        // Carried on a stick; the new user owns the copy.
        QVERIFY(QDir().mkpath(home));
        QCOMPARE(QProcess::execute("cp", {"-R", old + "/Tavimer-move", home}), 0);
        QVERIFY2(shell(to[0], home, &output, true) == 0, output.constData());
        QCOMPARE(treeOf(database(home)), treeOf(database(old)));
        verifyOwnerOnly(database(home));
        const QByteArray settings = readFile(home + "/.config/Kelvaro/tavimer.ini");
        for (const char *kept : {"Language=en", "HideNames=1", "RemindDays=3"})
            QVERIFY2(settings.contains(kept), settings.constData());
        QVERIFY(!settings.contains("DBPath"));
        // The program of the new user finds the cards where the settings lead it.
        QVERIFY2(shell("tavimer --backup ~/check && unzip -Z1 ~/check/Tavimer-*.zip", home, &output,
                       true) == 0,
                 output.constData());
        QVERIFY2(output.contains("arc/BXEA0002.sza") && output.contains("BXEQ0001.kl"),
                 output.constData());
    }
};

QTEST_MAIN(TestGuideCommands)
#include "test_guide_commands.moc"
