// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/AMTables.h"
#include "audio/TToneGen.h"
#include "support/FakeSoundOutput.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cstring>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QByteArray entry(qint32 amplitude, qint32 wave, float frequency)
{
    QByteArray bytes(12, '\0');
    qToLittleEndian(amplitude, bytes.data());
    qToLittleEndian(wave, bytes.data() + 4);
    quint32 bits;
    std::memcpy(&bits, &frequency, 4);
    qToLittleEndian(bits, bytes.data() + 8);
    return bytes;
}

QByteArray count(qint32 countMinusOne)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(countMinusOne, bytes.data());
    return bytes;
}

} // namespace

class TestWaveExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void exportBeforeAnyBuildFailsAndCreatesNoFile()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        const QString path = m_dir.filePath("none.wav");
        QVERIFY(!gen.ExportFile(path));
        QVERIFY(!QFile::exists(path));
    }

    void exportWritesTheWholeBufferAndReplacesAnOlderFile()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetResolution(tg8Bit);
        gen.SetQuality(tgLoQ);
        QVERIFY(gen.Prepare());
        const QString path = m_dir.filePath("cue.wav");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, 'x'));
        old.close();
        QVERIFY(gen.ExportFile(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(reinterpret_cast<const char *>(gen.GetDataBuffer()),
                                            int(gen.BufferSize())));
        QVERIFY(!gen.ExportFile(m_dir.filePath("missing-folder/cue.wav")));
        QVERIFY(!gen.ExportFile(m_dir.path()));
    }

    void anIndependentReaderHearsTheCueToneAt440Hertz()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetResolution(tg8Bit);
        gen.SetQuality(tgLoQ);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        gen.Play();
        const QString path = m_dir.filePath("cue440.wav");
        QVERIFY(gen.ExportFile(path));
        const QString python = QStandardPaths::findExecutable("python3");
        QVERIFY2(!python.isEmpty(), "python3 is installed by tools/deps.sh");
        const QString probe =
            qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/tests/audio/wave_probe.py";
        QCOMPARE(run(python, {probe, path}), QString("1 8 44100 4410 440"));

        const QString sox = QStandardPaths::findExecutable("sox");
        QVERIFY2(!sox.isEmpty(), "sox is installed by tools/deps.sh");
        QCOMPARE(run(sox, {"--i", "-r", path}), QString("44100"));
        QCOMPARE(run(sox, {"--i", "-c", path}), QString("1"));
        QCOMPARE(run(sox, {"--i", "-b", path}), QString("8"));
        QCOMPARE(run(sox, {"--i", "-s", path}), QString("4410"));

        gen.SetStereo(true);
        gen.SetQuality(tgHiQ);
        gen.SetResolution(tg16Bit);
        gen.SetWaveform(tgSquare);
        QVERIFY(gen.PrepareADSR());
        QVERIFY(gen.ExportFile(path));
        QCOMPARE(run(python, {probe, path}), QString("2 16 96000 9600 440"));
    }

    void theStoredLevelsAreAHundredBytesInLevelOrder()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetAMParameter(tgAMLevel3, -7, tgSawtooth, 2.75f);
        const QByteArray stored = gen.WriteAMArrayData();
        QCOMPARE(stored.size(), 100);
        QCOMPARE(stored.left(4), count(7));
        QCOMPARE(stored.mid(4, 12), entry(0, tgSine, 0.5f));
        QCOMPARE(stored.mid(4 + 2 * 12, 12), entry(-7, tgSawtooth, 2.75f));
        QCOMPARE(stored.mid(4 + 7 * 12, 12), entry(0, tgSine, 4.0f));

        TToneGen other(&out);
        QVERIFY(other.Prepare());
        other.ReadAMArrayData(stored);
        QVERIFY(other.Dirty());
        QCOMPARE(other.WriteAMArrayData(), stored);
    }

    void readingTakesTheLowBitsAndAtMostEightLevels()
    {
        AMTables tables;
        tables.reset();
        QByteArray data = count(10);
        for (int i = 0; i < 11; ++i)
            data += entry(0x10000 + i * 10, 0x100 + (i % 5), 100.0f + i);
        tables.load(data);
        QCOMPARE(tables.amplitudes[7], qint16(70));
        QCOMPARE(tables.waveforms[3], tgSawtooth);
        QCOMPARE(tables.frequencies[7], 107.0f);
        QCOMPARE(tables.store().size(), 100);

        AMTables unknownWave;
        unknownWave.reset();
        unknownWave.load(count(0) + entry(0xFFFF, 9, 1.5f));
        QCOMPARE(unknownWave.amplitudes[0], qint16(-1));
        QCOMPARE(unknownWave.waveforms[0], tgSine);
        QCOMPARE(unknownWave.frequencies[0], 1.5f);
    }

    void shortOrEmptyStoredTablesChangeOnlyWhatTheyHold()
    {
        AMTables tables;
        tables.reset();
        const QByteArray before = tables.store();
        tables.load(count(-1) + entry(50, 1, 9.0f));
        tables.load(count(-100));
        tables.load(QByteArray("\x07\x00", 2));
        QCOMPARE(tables.store(), before);
        // Three whole entries and a cut-off fourth: the cut-off one is ignored.
        tables.load(count(7) + entry(11, 1, 1) + entry(22, 2, 2) + entry(33, 3, 3) +
                    entry(44, 4, 4).left(6));
        QCOMPARE(tables.amplitudes[2], qint16(33));
        QCOMPARE(tables.amplitudes[3], qint16(0));
        QCOMPARE(tables.frequencies[3], 2.0f);
    }
};

QTEST_GUILESS_MAIN(TestWaveExport)
#include "test_wave_export.moc"
