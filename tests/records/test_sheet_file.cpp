// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/KLRecord.h"
#include "records/SheetFile.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A record laid out by hand from the byte table, independent of the program's writer.
QByteArray handRecord(const QByteArray &idopont, const QByteArray &helyszin,
                      const QByteArray &statusz, const QByteArray &egyeb, qint32 firstReading,
                      qint32 dataLen = 96)
{
    QByteArray r(464, '\xAA'); // leftovers that readers must ignore
    auto put = [&r](int offset, const QByteArray &text) {
        r[offset] = char(text.size());
        r.replace(offset + 1, text.size(), text);
    };
    put(0, idopont);
    put(21, helyszin);
    put(42, statusz);
    put(283, egyeb);
    qToLittleEndian<qint32>(dataLen, r.data() + 364);
    for (int k = 0; k < 24; ++k)
        qToLittleEndian<qint32>(k == 23 ? -1 : firstReading + k, r.data() + 368 + 4 * k);
    return r;
}

QByteArray threeSheets()
{
    return handRecord("2024.05.17. 10:00:00", "Rendelo", "ok", "", 100) +
           handRecord("2024.05.18.", "Otthon", "fej\r\nfajas", "\xE1rv\xED" /* árví */, 200) +
           handRecord("", "", "", "", 0);
}

} // namespace

class TestSheetFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void threeHandMadeSheetsReadBack()
    {
        const QList<KLRecord> sheets = SheetFile::parse(threeSheets());
        QCOMPARE(sheets.size(), 3);
        QCOMPARE(sheets[0].Idopont, QString("2024.05.17. 10:00:00"));
        QCOMPARE(sheets[0].Helyszin, QString("Rendelo"));
        QCOMPARE(sheets[1].Statusz, QString("fej\r\nfajas"));
        QCOMPARE(sheets[1].Egyeb, QString::fromUtf8("árví"));
        QCOMPARE(sheets[2].Idopont, QString());
        QCOMPARE(sheets[0].Readings[0], 100);
        QCOMPARE(sheets[0].Readings[12], 112);
        QCOMPARE(sheets[1].Readings[22], 222);
        QCOMPARE(sheets[1].Readings[23], -1);
        QCOMPARE(sheets[2].Readings[0], 0);
    }

    void writtenRecordMatchesTheLayoutOffsetByOffset()
    {
        KLRecord record;
        record.Idopont = QStringLiteral("17/05/2024 10:00:00 extra");
        record.Helyszin = QString::fromUtf8("Győr");
        record.Statusz = QString(300, QLatin1Char('s'));
        record.Egyeb = QString(81, QLatin1Char('e'));
        record.Readings[KLRecord::readingIndex(1, 1)] = 0;
        record.Readings[KLRecord::readingIndex(2, 12)] = 65535;
        record.Readings[KLRecord::readingIndex(1, 12)] = 7;
        const QByteArray b = record.bytes();
        QCOMPARE(b.size(), 464);
        QCOMPARE(quint8(b[0]), quint8(20));
        QCOMPARE(b.mid(1, 20), QByteArray("17/05/2024 10:00:00 "));
        QCOMPARE(quint8(b[21]), quint8(4));
        QCOMPARE(b.mid(22, 4), QByteArray("Gy\xF5r"));
        QCOMPARE(b.mid(26, 16), QByteArray(16, '\0'));
        QCOMPARE(quint8(b[42]), quint8(240));
        QCOMPARE(b.mid(43, 240), QByteArray(240, 's'));
        QCOMPARE(quint8(b[283]), quint8(80));
        QCOMPARE(b.mid(284, 80), QByteArray(80, 'e'));
        QCOMPARE(b.mid(364, 4), QByteArray("\x60\0\0\0", 4));
        QCOMPARE(b.mid(368, 4), QByteArray(4, '\0'));                    // left Lu
        QCOMPARE(b.mid(368 + 4 * 11, 4), QByteArray("\x07\0\0\0", 4));   // left St
        QCOMPARE(b.mid(368 + 4 * 1, 4), QByteArray(4, '\xFF'));          // empty cell
        QCOMPARE(b.mid(368 + 4 * 23, 4), QByteArray("\xFF\xFF\0\0", 4)); // right St
    }

    void damageEndsTheListAtTheLastCompleteSheet_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("sheets");
        const QByteArray three = threeSheets();
        QTest::newRow("truncated third") << three.left(464 * 2 + 400) << 2;
        QTest::newRow("header only") << three.left(464 + 368) << 1;
        QTest::newRow("tail of 1 byte") << three + QByteArray(1, 'x') << 3;
        QByteArray minusOne = three;
        qToLittleEndian<qint32>(-1, minusOne.data() + 464 + 364);
        QTest::newRow("DataLen -1") << minusOne << 1;
        QByteArray huge = three;
        qToLittleEndian<qint32>(0x7FFFFFFF, huge.data() + 364);
        QTest::newRow("DataLen 2^31-1") << huge << 0;
        QTest::newRow("empty") << QByteArray() << 0;
    }

    void damageEndsTheListAtTheLastCompleteSheet()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, sheets);
        QCOMPARE(SheetFile::parse(bytes).size(), sheets);
    }

    void lengthByteBeyondItsFieldReadsTheWholeField()
    {
        QByteArray bytes = threeSheets().left(464);
        bytes[0] = char(255);
        bytes[283] = char(200);
        const QList<KLRecord> sheets = SheetFile::parse(bytes);
        QCOMPARE(sheets.size(), 1);
        QCOMPARE(sheets[0].Idopont.size(), 20);
        QCOMPARE(sheets[0].Egyeb.size(), 80);
        QCOMPARE(sheets[0].Readings[0], 100);
    }

    void randomDamagedFilesNeverBreakTheReader()
    {
        QRandomGenerator random(20240517);
        const QByteArray good = threeSheets();
        int total = 0;
        for (int i = 0; i < 100000; ++i) {
            QByteArray bytes;
            switch (i % 3) {
            case 0: // noise
                bytes.resize(random.bounded(3000));
                for (char &c : bytes)
                    c = char(random.bounded(256));
                break;
            case 1: // a good file with bytes flipped
                bytes = good;
                for (int n = random.bounded(1, 20); n > 0; --n)
                    bytes[random.bounded(bytes.size())] = char(random.bounded(256));
                break;
            default: // a good file cut anywhere
                bytes = good.left(random.bounded(good.size() + 1));
            }
            const QList<KLRecord> sheets = SheetFile::parse(bytes);
            QVERIFY(sheets.size() * 464 <= bytes.size());
            for (const KLRecord &sheet : sheets) {
                QCOMPARE(sheet.DataLen, 96);
                QVERIFY(sheet.Statusz.size() <= 240);
            }
            total += sheets.size();
        }
        QVERIFY(total > 0);
    }

    void appendCreatesTheFileAndAddsAtTheEnd()
    {
        const QString kl = path("append.kl");
        KLRecord first;
        first.Readings[0] = 1;
        QVERIFY(SheetFile(kl).append(first));
        QCOMPARE(QFileInfo(kl).size(), 464);
        KLRecord second;
        second.Readings[0] = 2;
        QVERIFY(SheetFile(kl).append(second));
        const QByteArray bytes = readFile(kl);
        QCOMPARE(bytes.size(), 928);
        QCOMPARE(bytes.mid(464), second.bytes());
        QCOMPARE(bytes.left(464), first.bytes());
    }

    void appendRefusesADamagedFileAndLeavesItAsItWas()
    {
        const QString kl = path("damaged.kl");
        const QByteArray damaged = threeSheets().left(1000);
        QVERIFY(writeFile(kl, damaged));
        QVERIFY(!SheetFile(kl).append(KLRecord()));
        QCOMPARE(readFile(kl), damaged);
    }

    void writesThatCannotHappenReportFailure()
    {
        QVERIFY(writeFile(path("plainfile"), "x"));
        QVERIFY(!SheetFile(path("plainfile/B.kl")).append(KLRecord()));
        QDir().mkpath(path("folder.kl"));
        QVERIFY(!SheetFile(path("folder.kl")).append(KLRecord()));
        QVERIFY(!SheetFile(path("folder.kl")).writeHeader(0, KLRecord()));
        QVERIFY(!SheetFile(path("missing.kl")).writeHeader(0, KLRecord()));
        QList<KLRecord> sheets;
        QVERIFY(!SheetFile(path("missing.kl")).read(sheets));
    }

    void headerRewriteKeepsEveryOtherByte()
    {
        const QString kl = path("header.kl");
        const QByteArray before = threeSheets();
        QVERIFY(writeFile(kl, before));
        KLRecord notes;
        notes.Idopont = QStringLiteral("x");
        notes.Statusz = QString(300, QLatin1Char('s'));
        QVERIFY(SheetFile(kl).writeHeader(1, notes));
        const QByteArray after = readFile(kl);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(464), before.left(464));
        QCOMPARE(after.mid(464, 368), notes.header());
        QCOMPARE(after.mid(464 + 368), before.mid(464 + 368));
        QVERIFY(!SheetFile(kl).writeHeader(3, notes));
    }

    void removingSheetTwoOfThreeMovesTheThirdUp()
    {
        const QString kl = path("remove.kl");
        const QByteArray before = threeSheets();
        QVERIFY(writeFile(kl, before));
        QVERIFY(SheetFile(kl).removeSheet(1, path("remove.kl$")));
        const QByteArray after = readFile(kl);
        QCOMPARE(after.size(), 928);
        QCOMPARE(after, before.left(464) + before.mid(928));
        QVERIFY(!QFile::exists(path("remove.kl$")));
    }

    void removingASheetOfADamagedFileKeepsEveryOtherByte()
    {
        const QString kl = path("damaged-remove.kl");
        QByteArray before = threeSheets() + QByteArray(100, 't');
        qToLittleEndian<qint32>(-1, before.data() + 464 + 364);
        QVERIFY(writeFile(kl, before));
        QCOMPARE(SheetFile(kl).sheetsBeforeDamage(), 1);
        QVERIFY(!SheetFile(kl).removeSheet(1, path("damaged-remove.kl$")));
        QCOMPARE(readFile(kl), before);
        QVERIFY(SheetFile(kl).removeSheet(0, path("damaged-remove.kl$")));
        QCOMPARE(readFile(kl), before.mid(464));
        QCOMPARE(SheetFile(kl).sheetsBeforeDamage(), 0);
        QVERIFY(writeFile(kl, threeSheets()));
        QCOMPARE(SheetFile(kl).sheetsBeforeDamage(), -1);
        QCOMPARE(SheetFile(path("missing.kl")).sheetsBeforeDamage(), -1);
    }

    void removalWithoutATemporaryFileLeavesTheSheets()
    {
        const QString kl = path("blocked.kl");
        QVERIFY(writeFile(kl, threeSheets()));
        QDir().mkpath(path("blocked.kl$"));
        QVERIFY(!SheetFile(kl).removeSheet(1, path("blocked.kl$")));
        QCOMPARE(readFile(kl), threeSheets());
    }
};

QTEST_GUILESS_MAIN(TestSheetFile)
#include "test_sheet_file.moc"
