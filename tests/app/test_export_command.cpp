// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardFile.h"
#include "support/ProgramFolder.h"

#include <QProcess>
#include <QtTest>

// The export options of the program file, as a user types them, in one run after another.
class TestExportCommand : public QObject
{
    Q_OBJECT

    ProgramFolder m_program;

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::copy(qEnvironmentVariable("TAVIMER_BINARY_DIR") + "/tavimer",
                            m_program.programPath()));
        QStringList personal;
        for (const QString &key : CardFile::keys())
            personal << (key == "Nev" ? "Ősz Éva" : key == "ID" ? "BXEQ0001" : "");
        QVERIFY(CardFile::writePersonal(m_program.database() + "BXEQ0001.sza", personal));
    }

    void commandLineExportsOrSaysWhyNot_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--export-patient <id> <file>";
        QTest::newRow("patient") << QStringList{"--export-patient", "BXEQ0001", "{dir}/p.json"} << 0
                                 << "{dir}/p.json";
        QTest::newRow("patient again")
            << QStringList{"--export-patient", "BXEQ0001", "{dir}/p.json"} << 1
            << "már létezik, ezért semmi sem íródott:\n{dir}/p.json";
        QTest::newRow("no such card")
            << QStringList{"--export-patient", "BXEQ0009", "{dir}/q.json"} << 1 << "BXEQ0009";
        QTest::newRow("no folder") << QStringList{"--export-sheets", "{dir}/none/s.csv"} << 1
                                   << "{dir}/none/s.csv: No such file or directory";
        QTest::newRow("sheets") << QStringList{"--export-sheets", "{dir}/s.csv", "--pseudonymous"}
                                << 0 << "{dir}/s.csv";
        QTest::newRow("pseudonymous alone")
            << QStringList{"--pseudonymous"} << 2 << "--pseudonymous goes with --export-sheets";
    }

    void commandLineExportsOrSaysWhyNot()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        for (QString &argument : arguments)
            argument.replace("{dir}", m_program.path());
        QProcess process;
        process.start(m_program.programPath(), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), exitCode);
        const QString answer = QString::fromUtf8(exitCode == 0 ? process.readAllStandardOutput()
                                                               : process.readAllStandardError());
        QVERIFY2(answer.contains(says.replace("{dir}", m_program.path())), qPrintable(answer));
    }
};

QTEST_MAIN(TestExportCommand)
#include "test_export_command.moc"
