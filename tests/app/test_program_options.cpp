// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CatalogueChoice.h"
#include "app/CommandLine.h"
#include "support/TempFiles.h"

#include <QDir>
#include <QTextStream>
#include <QtTest>

class TestProgramOptions : public QObject
{
    Q_OBJECT

    QStringList m_delivered;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8"));
        for (const char *option : {"backup", "restore", "verify", "prune-history"})
            CommandLine::setCommand(QString::fromLatin1(option), [this](const QStringList &v) {
                m_delivered = v;
                return 7;
            });
    }

    void theCommandLineOpensTheWindowOrAnswersWithoutIt_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QStringList>("delivered");
        const int window = -1;
        QTest::newRow("nothing") << QStringList{} << window << QString() << QStringList{};
        QTest::newRow("Qt's own options")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "-reverse"} << window
            << QString() << QStringList{};
        QTest::newRow("version") << QStringList{"--version"} << 0 << "9.8" << QStringList{};
        QTest::newRow("help names the maintenance commands")
            << QStringList{"-h"} << 0 << "--restore <zip> <dir>" << QStringList{};
        QTest::newRow("help names the support log")
            << QStringList{"--help"} << 0 << "Support log: /" << QStringList{};
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "bogus" << QStringList{};
        QTest::newRow("stray argument") << QStringList{"x.txt"} << 2 << "x.txt" << QStringList{};
        QTest::newRow("backup") << QStringList{"--backup", "/b"} << 7 << QString()
                                << QStringList{"/b"};
        QTest::newRow("restore") << QStringList{"--restore", "a.zip", "/d"} << 7 << QString()
                                 << QStringList{"a.zip", "/d"};
        QTest::newRow("prune-history")
            << QStringList{"--prune-history", "10"} << 7 << QString() << QStringList{"10"};
        QTest::newRow("restore without its folder")
            << QStringList{"--restore", "a.zip"} << 2 << "--restore" << QStringList{};
        QTest::newRow("verify with a stray argument")
            << QStringList{"--verify", "a.zip", "x"} << 2 << "--verify" << QStringList{};
    }

    void theCommandLineOpensTheWindowOrAnswersWithoutIt()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(QStringList, delivered);
        m_delivered.clear();
        const CommandLine commandLine(QStringList{"tavimer"} + arguments);
        QCOMPARE(commandLine.opensWindow(), status < 0);
        if (status < 0)
            return;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(commandLine.run(outStream, errStream), status);
        QVERIFY2((status == 0 ? out : err).contains(printed), qPrintable(out + err));
        QCOMPARE(m_delivered, delivered);
    }

    void theUsersLanguageChoosesTheCatalogue_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("installedEnglish");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("warned");
        QTest::newRow("no language") << ""
                                     << ""
                                     << "bin/tavimer.dat" << false;
        QTest::newRow("beside the program") << "en"
                                            << ""
                                            << "bin/tavimer-en.dat" << false;
        QTest::newRow("capitals and blanks") << " EN "
                                             << ""
                                             << "bin/tavimer-en.dat" << false;
        QTest::newRow("installed") << "en"
                                   << "share/tavimer/tavimer-en.dat"
                                   << "share/tavimer/tavimer-en.dat" << false;
        QTest::newRow("no English catalogue: the program's own") << "en"
                                                                 << "-"
                                                                 << "bin/tavimer-en.dat" << true;
        QTest::newRow("no such catalogue") << "de"
                                           << ""
                                           << "bin/tavimer.dat" << true;
        QTest::newRow("a path is no language") << "../en"
                                               << ""
                                               << "bin/tavimer.dat" << true;
    }

    void theUsersLanguageChoosesTheCatalogue()
    {
        QFETCH(QString, language);
        QFETCH(QString, installedEnglish);
        QFETCH(QString, expected);
        QFETCH(bool, warned);
        TempFiles files;
        QDir().mkpath(files.path("bin"));
        QDir().mkpath(files.path("share/tavimer"));
        files.write("bin/tavimer.dat", "[Main]\n");
        files.write("bin/tavimer.ini", "[Main]\r\nLanguage=" + language.toUtf8() + "\r\n");
        if (installedEnglish.isEmpty())
            files.write("bin/tavimer-en.dat", "[Main]\n");
        else if (installedEnglish != "-")
            files.write(installedEnglish, "[Main]\n");
        if (warned)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^No catalogue "));
        QCOMPARE(CatalogueChoice::path(files.path("bin/tavimer")), files.path(expected));
    }
};

QTEST_GUILESS_MAIN(TestProgramOptions)
#include "test_program_options.moc"
