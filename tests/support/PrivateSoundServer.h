// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

// A PulseAudio server of the test's own, with one null sink at its default latency (which
// buffers about two seconds, as an idle desktop sink or a wireless headset does) and a
// recording of that sink's monitor. Nothing of the machine's own sound is used.
class PrivateSoundServer
{
public:
    static constexpr int kRate = 44100;

    ~PrivateSoundServer()
    {
        for (QProcess *process : {&m_recorder, &m_server}) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    static bool installed()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty();
    }

    // Starts the server and points this process's sound at it; call before any sound is used.
    bool start()
    {
        const QString run = m_dir.filePath(QStringLiteral("run"));
        const QString home = m_dir.filePath(QStringLiteral("home"));
        QDir().mkpath(run);
        QDir().mkpath(home);
        QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
        const QString socket = run + QStringLiteral("/native");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        env.insert(QStringLiteral("HOME"), home);
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("DISPLAY"));
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // -n: no system configuration, so nothing but the null sink exists. As root the
        // server only warns; it must not exit when idle nor be asked to by a client.
        m_server.start(QStringLiteral("pulseaudio"),
                       {"--daemonize=no", "-n", "--exit-idle-time=-1", "--disallow-exit",
                        "--disable-shm", "--log-level=error",
                        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                        "--load=module-null-sink sink_name=cue"});
        if (!m_server.waitForStarted(5000))
            return false;
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
        m_env = env;
        m_env.insert(QStringLiteral("PULSE_SERVER"), "unix:" + socket);
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket) && !deadline.hasExpired() &&
               m_server.state() == QProcess::Running)
            QTest::qWait(10);
        return QFileInfo::exists(socket);
    }

    // Records the sink's monitor as 16-bit mono.
    bool record()
    {
        m_recorder.setProcessEnvironment(m_env);
        m_recorder.start(QStringLiteral("parec"), {"-d", "cue.monitor", "--raw", "--format=s16le",
                                                   "--channels=1", "--rate=44100"});
        return m_recorder.waitForStarted(5000);
    }

    const QByteArray &recording()
    {
        m_recording += m_recorder.readAllStandardOutput();
        return m_recording;
    }

    struct Burst
    {
        double ms = 0;
        double hz = 0;
    };

    // Sound separated by at least 20 ms of silence; the frequency from the zero crossings.
    QList<Burst> bursts()
    {
        const QByteArray &pcm = recording();
        const auto *s = reinterpret_cast<const qint16 *>(pcm.constData());
        const qint64 n = pcm.size() / 2;
        constexpr int kQuiet = 200;
        constexpr qint64 kGap = kRate / 50;
        QList<Burst> found;
        qint64 begin = -1;
        qint64 lastLoud = -1;
        auto close = [&] {
            int crossings = 0;
            for (qint64 i = begin + 1; i <= lastLoud; ++i)
                crossings += int((s[i - 1] < 0) != (s[i] < 0));
            const double seconds = double(lastLoud - begin + 1) / kRate;
            found.append({seconds * 1000, crossings / 2.0 / seconds});
        };
        for (qint64 i = 0; i < n; ++i) {
            if (std::abs(s[i]) <= kQuiet)
                continue;
            if (begin >= 0 && i - lastLoud > kGap)
                close(), begin = -1;
            if (begin < 0)
                begin = i;
            lastLoud = i;
        }
        // The last burst counts only once the silence after it has been recorded.
        if (begin >= 0 && n - lastLoud > kGap)
            close();
        return found;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
    QProcessEnvironment m_env;
    QByteArray m_recording;
};
