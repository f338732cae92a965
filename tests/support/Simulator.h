// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QtTest>

// The simulated measuring device as a child process, commanded through its standard input.
class Simulator
{
public:
    static QString program()
    {
        return qEnvironmentVariable("TAVIMER_BINARY_DIR") + QStringLiteral("/tools/tavimer-sim");
    }

    // Returns once the device's link exists.
    bool start(const QString &link, const QStringList &options = {})
    {
        m_link = link;
        m_process.setProgram(program());
        m_process.setArguments(QStringList{link} + options);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        return waitForLink(true);
    }

    void command(const QByteArray &line)
    {
        m_process.write(line + '\n');
        m_process.waitForBytesWritten(1000);
    }

    bool waitForLink(bool present)
    {
        QDeadlineTimer deadline(5000);
        while (QFileInfo::exists(m_link) != present && !deadline.hasExpired())
            QTest::qWait(5);
        return QFileInfo::exists(m_link) == present;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    QString output() { return QString::fromLatin1(m_process.readAllStandardOutput()); }

    ~Simulator() { stop(); }

private:
    QProcess m_process;
    QString m_link;
};
