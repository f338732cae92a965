#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "support/TempFiles.h"

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

    void anEmptyDatabasePathBehavesAsAbsent()
    {
        QCOMPARE(Settings::load(write("[Database]\nDBPath=\n")).dbPath,
                 ProgramFiles::defaultDatabasePath());
        QCOMPARE(Settings::load(write("[Database]\nDBPath=/data/db/\n")).dbPath,
                 QString("/data/db/"));
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
        QVERIFY(!s.save(m_files.path("no-such-folder/tavimer.ini")));
    }

    void programFileNamesFollowTheProgram()
    {
        QCOMPARE(ProgramFiles::settingsPath("/opt/t/tavimer"), QString("/opt/t/tavimer.ini"));
        QCOMPARE(ProgramFiles::cataloguePath("C:\\P\\Tavimer.exe"), QString("C:\\P\\Tavimer.dat"));
        QCOMPARE(ProgramFiles::settingsPath("/opt/v1.2/tavimer"), QString("/opt/v1.2/tavimer.ini"));
        QCOMPARE(ProgramFiles::archivePath("/db/"), QString("/db/arc/"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
