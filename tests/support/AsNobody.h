// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>
#include <unistd.h>

// Root may write into any folder and open any device, so checks of what an ordinary user may
// not do run the current test function again in a child process as the user nobody.
class AsNobody
{
public:
    enum Outcome
    {
        RunHere,
        Passed,
        Failed,
        Unavailable,
    };

    static Outcome run(QByteArray *output)
    {
        if (::geteuid() != 0)
            return RunHere;
        if (qEnvironmentVariableIsSet(kMarker))
            return Unavailable;
        const QString function = QString::fromLatin1(QTest::currentTestFunction());
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kMarker), QStringLiteral("1"));
        env.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.setWorkingDirectory(QStringLiteral("/tmp"));
        child.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), QStringLiteral("--"),
                     QCoreApplication::applicationFilePath(), function});
        if (!child.waitForStarted(10000))
            return Unavailable;
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished();
        }
        *output = child.readAll();
        if (output->contains("could not drop") || output->contains("setpriv:"))
            return Unavailable;
        const QByteArray passLine = "::" + function.toLatin1() + "()";
        bool passed = false;
        for (const QByteArray &line : output->split('\n'))
            passed = passed || (line.startsWith("PASS") && line.contains(passLine));
        return passed && child.exitCode() == 0 ? Passed : Failed;
    }

    static constexpr const char *kMarker = "TAVIMER_AS_NOBODY";
};

// Runs the rest of the test function as nobody: directly when not root, else in a child.
#define RUN_AS_NOBODY()                                                                            \
    do {                                                                                           \
        QByteArray nobodyOutput;                                                                   \
        const AsNobody::Outcome outcome = AsNobody::run(&nobodyOutput);                            \
        if (outcome == AsNobody::RunHere)                                                          \
            break;                                                                                 \
        if (outcome == AsNobody::Unavailable)                                                      \
            QSKIP("runs as root and could not drop to the user nobody");                           \
        QVERIFY2(outcome == AsNobody::Passed, nobodyOutput.constData());                           \
        return;                                                                                    \
    } while (false)
