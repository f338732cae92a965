// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SettingsLayers.h"
#include "app/WindowPlace.h"
#include "platform/ProfileFile.h"
#include "support/AsNobody.h"
#include "support/FileBytes.h"
#include "support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

    TempFiles m_files;

    QString write(const QByteArray &bytes) { return m_files.write("tavimer.ini", bytes); }

private slots:
    void absentFileGivesTheDefaults()
    {
        const Settings s = Settings::load(m_files.path("none.ini"));
        QCOMPARE(s.top, 0);
        QCOMPARE(s.left, 0);
        QCOMPARE(s.width, 800);
        QCOMPARE(s.height, 560);
        QCOMPARE(s.dbPath, ProgramFiles::defaultDatabasePath());
    }

    void smallSizesAreRaisedAndLargeOnesKept()
    {
        Settings s = Settings::load(write("[Main]\nWidth=640\nHeight=2000\nTop=-20\nLeft=0x10\n"));
        QCOMPARE(s.width, 800);
        QCOMPARE(s.height, 2000);
        QCOMPARE(s.top, -20);
        QCOMPARE(s.left, 16);
    }

    void aSavedPlaceIsFittedToTheScreen_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("fitted");
        // Screen 1280 x 1024 at a scale of 2, frame 4 pixels with a 20-pixel title bar.
        QTest::newRow("fits") << QRect(10, 10, 500, 400) << QRect(10, 10, 500, 400);
        QTest::newRow("too large") << QRect(0, 0, 1200, 950) << QRect(0, 0, 632, 488);
        QTest::newRow("off to the right") << QRect(600, 300, 300, 100) << QRect(332, 300, 300, 100);
        QTest::newRow("above the screen") << QRect(-50, -30, 300, 100) << QRect(0, 0, 300, 100);
    }

    void aSavedPlaceIsFittedToTheScreen()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, fitted);
        QCOMPARE(WindowPlace::fitted(saved, QMargins(4, 20, 4, 4), QRect(0, 0, 640, 512)), fitted);
    }

    void anEmptyDatabasePathBehavesAsAbsent()
    {
        QCOMPARE(Settings::load(write("[Database]\nDBPath=\n")).dbPath,
                 ProgramFiles::defaultDatabasePath());
        QCOMPARE(Settings::load(write("[Database]\nDBPath=/data/db/\n")).dbPath,
                 QString("/data/db/"));
        // Cards go into the folder, never beside it (db\BXEQ0001.sza).
        QCOMPARE(Settings::load(write("[Database]\nDBPath=/data/db\\\n")).dbPath,
                 QString("/data/db/"));
    }

    void theComputersDefaultsHoldWhereTheUsersFileIsSilent_data()
    {
        QTest::addColumn<QByteArray>("site");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QString>("dbPath");
        QTest::addColumn<int>("remindDays");
        QTest::addColumn<QString>("ports");
        QTest::addColumn<QString>("language");
        const QByteArray site = "[Database]\nDBPath=/srv/kartonok\n[Backup]\nRemindDays=3\n"
                                "Folder=/mnt/mentes\n[Device]\nPorts=/dev/ttyS4\n[Main]\n"
                                "Language=en\n";
        QTest::newRow("no user file")
            << site << QByteArray() << "/srv/kartonok/" << 3 << "/dev/ttyS4"
            << "en";
        QTest::newRow("user overrides") << site
                                        << QByteArray("[Database]\nDBPath=/home/a/db/\n[Backup]\n"
                                                      "RemindDays=0\n[Main]\nLanguage=hu\n")
                                        << "/home/a/db/" << 0 << "/dev/ttyS4"
                                        << "hu";
        QTest::newRow("empty user value")
            << site << QByteArray("[Database]\nDBPath=\n") << "/srv/kartonok/" << 3 << "/dev/ttyS4"
            << "en";
        QTest::newRow("no site file")
            << QByteArray() << QByteArray() << ProgramFiles::defaultDatabasePath() << 7 << ""
            << "";
    }

    void theComputersDefaultsHoldWhereTheUsersFileIsSilent()
    {
        QFETCH(QByteArray, site);
        QFETCH(QByteArray, user);
        QFETCH(QString, dbPath);
        QFETCH(int, remindDays);
        QFETCH(QString, ports);
        QFETCH(QString, language);
        QTemporaryDir first;
        QTemporaryDir second;
        QDir(second.path()).mkpath("Kelvaro");
        if (!site.isEmpty())
            writeFile(second.filePath("Kelvaro/tavimer.ini"), site);
        // The first folder's file is damaged: reported, and the next one holds.
        QDir(first.path()).mkpath("Kelvaro/tavimer.ini");
        qputenv("XDG_CONFIG_DIRS", (first.path() + ":relative:" + second.path()).toLocal8Bit());
        const QString path = user.isEmpty() ? m_files.path("no-user.ini") : write(user);
        const Settings settings = Settings::load(path);
        const SettingsLayers layers(path);
        const int remindAfter = Settings::loadBackup(path).remindDays;
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(settings.dbPath, dbPath);
        QCOMPARE(settings.dbPathStored, dbPath != ProgramFiles::defaultDatabasePath());
        QCOMPARE(settings.damagedSiteFiles, QStringList{first.filePath("Kelvaro/tavimer.ini")});
        QCOMPARE(remindAfter, remindDays);
        QCOMPARE(layers.readString("Device", "Ports"), ports);
        QCOMPARE(layers.readString("Main", "Language"), language);
    }

    void theComputersFolderIsNotCopiedIntoTheUsersFile()
    {
        QTemporaryDir site;
        QDir(site.path()).mkpath("Kelvaro");
        writeFile(site.filePath("Kelvaro/tavimer.ini"), "[Database]\nDBPath=/srv/k/\n");
        qputenv("XDG_CONFIG_DIRS", site.path().toLocal8Bit());
        const QString path = m_files.path("site-user.ini");
        Settings settings = Settings::load(path);
        QVERIFY(settings.save(path));
        const QString keptEmpty = ProfileFile(path).readString("Database", "DBPath", "absent");
        settings.dbPath = "/home/a/restored/";
        QVERIFY(settings.save(path));
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(keptEmpty, QString());
        QCOMPARE(Settings::load(path).dbPath, QString("/home/a/restored/"));
    }

    void savingWritesTheFiveValuesInOrder()
    {
        const QString path = m_files.path("fresh.ini");
        Settings s;
        s.dbPath = "/x/";
        QVERIFY(s.save(path));
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QCOMPARE(file.readAll(),
                 QByteArray("[Main]\r\nTop=0\r\nLeft=0\r\nWidth=800\r\nHeight=560\r\n"
                            "[Database]\r\nDBPath=/x/\r\n"));
        QVERIFY(!s.save(m_files.write("a-file", "x") + "/tavimer.ini"));
    }

    void aPathWindows1250CannotHoldSurvivesAsUtf8()
    {
        const QString path = m_files.path("utf8.ini");
        Settings s;
        s.dbPath = QString::fromUtf8("/home/Иван/Adatbázis/");
        QVERIFY(s.save(path));
        QCOMPARE(Settings::load(path).dbPath, s.dbPath);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(s.dbPath.toUtf8()));

        // A Windows-1250 file stays one, also when its bytes could pass for UTF-8 ("Ă©").
        QCOMPARE(Settings::load(write("[Database]\r\nDBPath=/h/\xe9\xc3\xa9/\r\n")).dbPath,
                 QString::fromUtf8("/h/éĂ©/"));
        s.dbPath = QString::fromUtf8("/h/Ă©/");
        QVERIFY(s.save(path));
        QCOMPARE(Settings::load(path).dbPath, s.dbPath);
    }

    void aFolderThatTakesNoNewFileStillGetsItsSettingsWritten()
    {
        RUN_AS_NOBODY();
        QTemporaryDir dir;
        const QString path = dir.filePath("tavimer.ini");
        Settings s;
        s.dbPath = "/a/rather/long/database/path/that/is/shortened/later/";
        QVERIFY(s.save(path));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        s.dbPath = "/short/";
        const bool saved = s.save(path);
        const Settings back = Settings::load(path);
        QFile::setPermissions(path, QFile::ReadOwner);
        const bool readOnlySaved = s.save(path);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(saved);
        QCOMPARE(back.dbPath, QString("/short/"));
        QVERIFY(!readOnlySaved);
    }

    void theDatabaseFolderTheProgramMakesIsItsOwnersAlone()
    {
        QVERIFY(ProgramFiles::createDatabase(m_files.path("home/db/")));
        // rwx------ for owner, group and others; the user bits depend on who asks.
        QCOMPARE(int(QFile::permissions(m_files.path("home/db/")) & 0xF0FF), 0x7000);
    }

    void settingsStayBesideAPortableProgramAndGoToTheConfigFolderOtherwise()
    {
        RUN_AS_NOBODY();
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        const QString configured = dir.filePath("config/Kelvaro/tavimer.ini");
        QDir().mkpath(dir.filePath("portable"));
        QCOMPARE(ProgramFiles::settingsPath(dir.filePath("portable/tavimer")),
                 dir.filePath("portable/tavimer.ini"));

        QDir().mkpath(dir.filePath("locked"));
        QDir().mkpath(dir.filePath("kept"));
        QFile(dir.filePath("kept/tavimer.ini")).open(QIODevice::WriteOnly);
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        QFile::setPermissions(dir.filePath("kept"), QFile::ReadOwner | QFile::ExeOwner);
        const QString locked = ProgramFiles::settingsPath(dir.filePath("locked/tavimer"));
        const QString kept = ProgramFiles::settingsPath(dir.filePath("kept/tavimer"));
        Settings s;
        const bool created = s.save(locked);
        for (const char *folder : {"locked", "kept"})
            QFile::setPermissions(dir.filePath(folder),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(locked, configured);
        QVERIFY(created);
        QCOMPARE(kept, dir.filePath("kept/tavimer.ini"));

        // An installed package is known by its catalogue in share/, even where it is writable.
        QDir().mkpath(dir.filePath("usr/bin"));
        QDir().mkpath(dir.filePath("usr/share/tavimer"));
        QFile(dir.filePath("usr/share/tavimer/tavimer.dat")).open(QIODevice::WriteOnly);
        QCOMPARE(ProgramFiles::settingsPath(dir.filePath("usr/bin/tavimer")), configured);
    }

    void theCatalogueBesideTheProgramComesBeforeTheInstalledOne()
    {
        const QString root = m_files.path("usr");
        QDir().mkpath(root + "/bin");
        QDir().mkpath(root + "/share/tavimer");
        const QString program = root + "/bin/tavimer";
        QCOMPARE(ProgramFiles::cataloguePath(program), root + "/bin/tavimer.dat");
        QFile(root + "/share/tavimer/tavimer.dat").open(QIODevice::WriteOnly);
        QCOMPARE(ProgramFiles::cataloguePath(program), root + "/share/tavimer/tavimer.dat");
        QFile(root + "/bin/tavimer.dat").open(QIODevice::WriteOnly);
        QCOMPARE(ProgramFiles::cataloguePath(program), root + "/bin/tavimer.dat");
    }

    void programFileNamesFollowTheProgram()
    {
        QCOMPARE(ProgramFiles::withExtension("/opt/t/tavimer", ".ini"),
                 QString("/opt/t/tavimer.ini"));
        QCOMPARE(ProgramFiles::cataloguePath("C:\\P\\Tavimer.exe"), QString("C:\\P\\Tavimer.dat"));
        QCOMPARE(ProgramFiles::withExtension("/opt/v1.2/tavimer", ".ini"),
                 QString("/opt/v1.2/tavimer.ini"));
        QCOMPARE(ProgramFiles::archivePath("/db/"), QString("/db/arc/"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
