// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FileBytes.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
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

QMap<QString, QByteArray> treeOf(const QString &folder)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        tree.insert(QDir(folder).relativeFilePath(it.next()), readFile(it.filePath()));
    return tree;
}

} // namespace

// Runs the commands of the administrator's guide as they stand there, in a bare environment as
// cron and systemd give one, with the program installed in a throwaway tree on PATH.
class TestGuideCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_bin = m_dir.filePath("usr/bin");
    QByteArray m_output;

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

    // Runs `script` with sh as the user of `home` (nobody when `asNobody` and root), keeping its
    // output.
    bool runs(const QString &script, const QString &home, bool asNobody = false)
    {
        QProcess process;
        QProcessEnvironment env;
        env.insert("HOME", home);
        env.insert("PATH", m_bin + ":/usr/bin:/bin");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
        process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList command{"sh", "-e", "-c", script};
        if (asNobody && ::geteuid() == 0) {
            QProcess::execute("chown", {"-R", "65534:65534", home});
            command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} +
                      command;
        }
        process.start(command[0], command.mid(1));
        if (!process.waitForFinished(120000))
            process.kill();
        process.waitForFinished();
        m_output = process.readAll();
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // What under `path`, itself included, is not its owner's alone.
    QByteArray notOwnerOnly(const QString &path)
    {
        runs("find '" + path + "' \\( -type d ! -perm 700 \\) -o \\( -type f ! -perm 600 \\)",
             m_dir.path());
        return m_output;
    }

private slots:
    void initTestCase()
    {
        ::umask(022);
        QVERIFY2(runs(QString("mkdir -p usr/bin usr/share/tavimer && cp %1/tavimer usr/bin && cp "
                              "%2/tavimer.dat %2/tavimer-en.dat usr/share/tavimer && chmod 755 .")
                          .arg(qEnvironmentVariable("TAVIMER_BINARY_DIR"), source("assets")),
                      m_dir.path()),
                 m_output.constData());
    }

    void nightlyBackupWorksFromTheFirstNightAndRestores_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("log");
        // One line: the five time fields, then the command, which cron hands to sh with % as a
        // line break.
        const QString cron = guideBlocks("crontab").join("").trimmed();
        const auto line = QRegularExpression("^30 2 \\* \\* \\* ([^%\n]+)$").match(cron);
        QVERIFY2(line.hasMatch(), qPrintable(cron));
        QTest::newRow("cron") << line.captured(1) << "tavimer-backup.log";
        QString service;
        for (const QString unit : {"tavimer-backup.service", "tavimer-backup.timer"}) {
            const QStringList shown = guideBlocks("ini " + unit);
            QCOMPARE(shown,
                     QStringList{QString::fromUtf8(readFile(source("assets/systemd/" + unit)))});
            service += shown[0];
        }
        // Only a program that is not installed where systemd looks may be reported.
        const QString units = source("assets/systemd/tavimer-backup");
        if (!QStandardPaths::findExecutable("systemd-analyze").isEmpty()) {
            runs("XDG_RUNTIME_DIR=$HOME systemd-analyze verify --man=no --user " + units +
                     ".service " + units +
                     ".timer 2>&1 | grep -v 'Command tavimer is not executable'",
                 m_dir.path());
            QVERIFY2(m_output.isEmpty(), m_output.constData());
        }
        // systemd runs it without a shell, which its words do not need.
        QTest::newRow("systemd")
            << QRegularExpression("ExecStart=(.*)\n").match(service).captured(1) << QString();
    }

    void nightlyBackupWorksFromTheFirstNightAndRestores()
    {
        QFETCH(QString, command);
        QFETCH(QString, log);
        const QString home = userWithCards(QTest::currentDataTag());
        command.replace("%h", home);
        for (int night = 0; night < 2; ++night)
            QVERIFY2(runs(command, home), m_output.constData());
        const QString folder = home + "/Tavimer-backups";
        const QStringList zips = QDir(folder).entryList({"Tavimer-*.zip"}, QDir::Files);
        QCOMPARE(zips.size(), 2);
        QCOMPARE(notOwnerOnly(folder), QByteArray());
        for (const QString &zip : zips)
            QVERIFY(log.isEmpty() ||
                    readFile(home + "/" + log).contains((folder + "/" + zip).toUtf8()));
        QVERIFY2(runs(guideBlocks("sh restore").join(""), home), m_output.constData());
        QCOMPARE(treeOf(home + "/Tavimer-restored"), treeOf(database(home)));
        QCOMPARE(notOwnerOnly(home + "/Tavimer-restored"), QByteArray());
    }

    void movingToANewComputerKeepsCardsAndSettings()
    {
        const QString old = userWithCards("old-computer");
        const QString home = m_dir.filePath("new-computer");
        QVERIFY2(runs(guideBlocks("sh move-from").join(""), old), m_output.constData());
        // Carried on a stick into the new user's home.
        QVERIFY(QDir().mkpath(home));
        QCOMPARE(QProcess::execute("cp", {"-R", old + "/Tavimer-move", home}), 0);
        QVERIFY2(runs(guideBlocks("sh move-to").join(""), home, true), m_output.constData());
        QCOMPARE(treeOf(database(home)), treeOf(database(old)));
        QCOMPARE(notOwnerOnly(database(home)), QByteArray());
        const QByteArray settings = readFile(home + "/.config/Kelvaro/tavimer.ini");
        for (const char *kept : {"Language=en", "HideNames=1", "RemindDays=3"})
            QVERIFY2(settings.contains(kept) && !settings.contains("DBPath"), settings.constData());
    }

    void pruningTheHistoryDropsOnlyWhatIsOlder()
    {
        const QString home = userWithCards("prune");
        const QString history = database(home) + "/history/BXEQ0001/";
        QDir().mkpath(history + "versions");
        QVERIFY(writeFile(history + "versions/20010101T090000000-h-1-1.sza.gz", "x"));
        QVERIFY(writeFile(history + "changes.log",
                          "2001-01-01T10:00:00.000+01:00\th\tu\tpersonal\t.sza\t\t"
                          "20010101T090000000-h-1-1.sza.gz\t\t\n"));
        QVERIFY2(runs(guideBlocks("sh prune").join(""), home), m_output.constData());
        QVERIFY2(m_output.contains("1 versions removed"), m_output.constData());
        QVERIFY(!QFileInfo::exists(history + "versions/20010101T090000000-h-1-1.sza.gz"));
        QVERIFY(readFile(history + "changes.log").contains("\thistory-pruned\t"));
        QVERIFY(!runs("tavimer --prune-history 0", home));
        QVERIFY2(m_output.contains("whole number of years"), m_output.constData());
    }
};

QTEST_MAIN(TestGuideCommands)
#include "test_guide_commands.moc"
