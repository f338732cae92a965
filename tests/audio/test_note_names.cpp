// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/NoteName.h"
#include "audio/TToneGen.h"
#include "support/FakeSoundOutput.h"

#include <QtTest>

class TestNoteNames : public QObject
{
    Q_OBJECT

private slots:
    void namesGiveTheirFrequencyAndOctave_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("octave");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("newOctave");
        QTest::newRow("A") << "A" << 4 << 440 << 4;
        QTest::newRow("C") << "C" << 4 << 523 << 4;
        QTest::newRow("a# lower case") << "a#" << 4 << 466 << 4;
        QTest::newRow("one up") << ">A" << 4 << 880 << 5;
        QTest::newRow("down and up") << "<<>A" << 4 << 220 << 3;
        QTest::newRow("held at 0") << "<<<<<<A" << 4 << 28 << 0;
        QTest::newRow("held at 9") << ">>>>>>>A" << 4 << 14080 << 9;
        QTest::newRow("octave digit") << "O2A" << 4 << 110 << 2;
        QTest::newRow("blanks trimmed") << "  o5c  " << 4 << 1047 << 5;
        QTest::newRow("flat A is G# below") << "A-" << 4 << 415 << 3;
        QTest::newRow("flat A in octave 0") << "O0A-" << 4 << 0 << 4;
        QTest::newRow("flat B") << "B-" << 4 << 466 << 4;
        QTest::newRow("N0") << "N0" << 4 << 28 << 4;
        QTest::newRow("N keeps the octave") << "N60" << 7 << 880 << 7;
        QTest::newRow("N115 above 20 kHz") << "N115" << 4 << 0 << 4;
        QTest::newRow("N negative") << "N-1" << 4 << 0 << 4;
        QTest::newRow("N alone") << "N" << 4 << 0 << 4;
        QTest::newRow("B#") << "B#" << 4 << 0 << 4;
        QTest::newRow("E+") << "E+" << 4 << 0 << 4;
        QTest::newRow("C-") << "C-" << 4 << 0 << 4;
        QTest::newRow("left over") << "CB" << 4 << 0 << 4;
        QTest::newRow("sharp then flat") << "C#-" << 4 << 0 << 4;
        QTest::newRow("O without digit") << "OA" << 4 << 0 << 4;
        QTest::newRow("no letter") << ">>" << 4 << 0 << 4;
        QTest::newRow("empty") << "" << 4 << 0 << 4;
        QTest::newRow("above 20 kHz") << "O9E" << 4 << 0 << 4;
    }

    void namesGiveTheirFrequencyAndOctave()
    {
        QFETCH(QString, text);
        QFETCH(int, octave);
        QFETCH(int, frequency);
        QFETCH(int, newOctave);
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetOctave(octave);
        gen.SetFrequency(1000);
        QCOMPARE(gen.SetNote(text), frequency);
        QCOMPARE(gen.Octave(), newOctave);
        QCOMPARE(gen.Frequency(), frequency ? frequency : 1000);
    }

    void anUnparsableNoteChangesNothing()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        QVERIFY(gen.Prepare());
        QCOMPARE(gen.SetNote("X"), 0);
        QCOMPARE(gen.SetAMNote(tgAMLevel2, "E#"), 0.0f);
        QVERIFY(!gen.Dirty());
        QCOMPARE(gen.SetNote("E"), 659);
        QVERIFY(gen.Dirty());
    }

    void levelNotesAreStoredAsMultipliersOrHertz()
    {
        FakeSoundOutput out;
        TToneGen gen(&out);
        gen.SetFrequency(220);
        QCOMPARE(gen.SetAMNote(tgAMLevel4, ">A"), 4.0f);
        QCOMPARE(gen.AMOctave(tgAMLevel4), 5);
        QCOMPARE(gen.AMOctave(tgAMLevel3), 4);
        gen.SetAMUseMultiplier(false);
        QCOMPARE(gen.SetAMNote(tgAMLevel3, "C"), 523.0f);
        gen.SetAMLevel(tgAMLevel4);
        QCOMPARE(gen.AMFrequency(), 4.0f);
        gen.SetAMLevel(tgAMLevel3);
        QCOMPARE(gen.AMFrequency(), 523.0f);
        QCOMPARE(gen.Frequency(), 220);
    }
};

QTEST_GUILESS_MAIN(TestNoteNames)
#include "test_note_names.moc"
