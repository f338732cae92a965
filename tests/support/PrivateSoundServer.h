// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

// A PulseAudio server of the test's own with one null sink at its default latency (it buffers
// as an idle desktop output or a wireless headset does), and a recording of what it played.
// Nothing of the machine's own sound is used.
class PrivateSoundServer
{
public:
    static constexpr int kRate = 44100;

    ~PrivateSoundServer()
    {
        for (QProcess *process : {&m_recorder, &m_server}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill(), process->waitForFinished(5000);
        }
    }

    // Starts the server and points this process's sound at it, before any sound is used. As
    // root the server only warns; it must neither end when idle nor be asked to by a client.
    bool start()
    {
        const QString run = m_dir.filePath("run"), socket = run + "/native";
        QDir().mkpath(run);
        QDir().mkpath(m_dir.filePath("home"));
        QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", run);
        env.insert("HOME", m_dir.filePath("home"));
        env.insert("PULSE_SERVER", "unix:" + socket);
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        m_server.setProcessEnvironment(env);
        m_recorder.setProcessEnvironment(env);
        m_server.start("pulseaudio",
                       {"--daemonize=no", "-n", "--exit-idle-time=-1", "--disallow-exit",
                        "--disable-shm", "--log-level=error",
                        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                        "--load=module-null-sink sink_name=cue"});
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
        return m_server.waitForStarted(5000) &&
               QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 10000);
    }

    bool record()
    {
        m_recorder.start("parec", {"-d", "cue.monitor", "--raw", "--format=s16le", "--channels=1",
                                   "--rate=44100"});
        return m_recorder.waitForStarted(5000);
    }

    const QByteArray &recording() { return m_recording += m_recorder.readAllStandardOutput(); }

    struct Burst
    {
        double ms = 0;
        double hz = 0;
    };

    // Sounds with 20 ms of silence after them; the frequency from the zero crossings.
    QList<Burst> bursts()
    {
        const auto *s = reinterpret_cast<const qint16 *>(recording().constData());
        const qint64 n = m_recording.size() / 2;
        QList<Burst> found;
        qint64 begin = -1, last = -1;
        auto close = [&] {
            int crossings = 0;
            for (qint64 j = begin + 1; j <= last; ++j)
                crossings += int((s[j - 1] < 0) != (s[j] < 0));
            const double seconds = double(last - begin + 1) / kRate;
            found.append({seconds * 1000, crossings / 2.0 / seconds});
            begin = -1;
        };
        for (qint64 i = 0; i < n; ++i) {
            if (std::abs(s[i]) <= 200)
                continue;
            if (begin >= 0 && i - last > kRate / 50)
                close();
            begin = begin < 0 ? i : begin;
            last = i;
        }
        if (begin >= 0 && n - last > kRate / 50)
            close();
        return found;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
    QByteArray m_recording;
};
