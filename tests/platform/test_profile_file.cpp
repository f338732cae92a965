// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestProfileFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString fileWith(const QByteArray &bytes)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("f%1.ini").arg(++n));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void namesMatchWithoutRegardToCaseAndBlanksAreTrimmed()
    {
        const ProfileFile ini(fileWith("[MSG]\r\n  AskExit  =  Sure?  \r\n"));
        QCOMPARE(ini.readString("msg", "askexit"), QString("Sure?"));
        QCOMPARE(ini.readString("Msg", "Other", "fallback"), QString("fallback"));
        QCOMPARE(ini.readString("Title", "AskExit", "x"), QString("x"));
    }

    void matchingQuotesAreRemovedOthersKept()
    {
        const ProfileFile ini(
            fileWith("[S]\na=\"quoted\"\nb='single'\nc=\"half\nd='mixed\"\ne=\"\n"));
        QCOMPARE(ini.readString("S", "a"), QString("quoted"));
        QCOMPARE(ini.readString("S", "b"), QString("single"));
        QCOMPARE(ini.readString("S", "c"), QString("\"half"));
        QCOMPARE(ini.readString("S", "d"), QString("'mixed\""));
        QCOMPARE(ini.readString("S", "e"), QString("\""));
    }

    void valuesAreCutTo2047Characters()
    {
        const ProfileFile ini(fileWith("[S]\nk=" + QByteArray(5000, 'v') + "\n"));
        QCOMPARE(ini.readString("S", "k").size(), 2047);
    }

    void integersAreDecimalOrHexAndAnythingElseIsAbsent()
    {
        const ProfileFile ini(fileWith(
            "[S]\ndec=42\nneg=-7\nhex=0x1F\nupper=0XfF\nbad=12a\nempty=\nhalf=0x\nsp=0x-1\n"));
        QCOMPARE(ini.readInteger("S", "dec", 0), 42);
        QCOMPARE(ini.readInteger("S", "neg", 0), -7);
        QCOMPARE(ini.readInteger("S", "hex", 0), 31);
        QCOMPARE(ini.readInteger("S", "upper", 0), 255);
        QCOMPARE(ini.readInteger("S", "bad", 5), 5);
        QCOMPARE(ini.readInteger("S", "empty", 5), 5);
        QCOMPARE(ini.readInteger("S", "half", 5), 5);
        QCOMPARE(ini.readInteger("S", "sp", 5), 5);
        QCOMPARE(ini.readInteger("S", "missing", 9), 9);
    }

    void lfOnlyFilesAndWindows1250TextAreRead()
    {
        const ProfileFile ini(fileWith("[S]\nname=\xD6\x64\xF6n \xC1rp\xE1\x64\n"));
        QCOMPARE(ini.readString("S", "name"), QString::fromUtf8("Ödön Árpád"));
    }

    void writingUpdatesInPlaceKeepingOrderCommentsAndForeignLines()
    {
        const QString path = fileWith(
            "; comment\r\n[Main]\r\nTop=5\r\nforeign line\r\nLeft=7\r\n\r\n[Other]\r\nx=1\r\n");
        ProfileFile ini(path);
        QVERIFY(ini.writeString("main", "LEFT", "9"));
        QVERIFY(ini.writeString("Main", "Width", "800"));
        QVERIFY(ini.writeString("New", "k", QString::fromUtf8("ő")));
        QCOMPARE(contents(path),
                 QByteArray("; comment\r\n[Main]\r\nTop=5\r\nforeign line\r\nLeft=9\r\n"
                            "Width=800\r\n\r\n[Other]\r\nx=1\r\n[New]\r\nk=\xF5\r\n"));
    }

    void writingALfFileRewritesItWithCrLf()
    {
        const QString path = fileWith("[S]\na=1\n");
        QVERIFY(ProfileFile(path).writeString("S", "b", "2"));
        QCOMPARE(contents(path), QByteArray("[S]\r\na=1\r\nb=2\r\n"));
    }

    void aSectionOpenedTwiceIsReadAndWrittenWithoutHarm()
    {
        const QString path = fileWith("[S]\na=1\n[S]\nb=2\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readString("S", "a"), QString("1"));
        QCOMPARE(ini.readString("S", "b"), QString("2"));
        QVERIFY(ini.writeString("S", "c", "3"));
        QCOMPARE(ini.readString("S", "c"), QString("3"));
    }

    void writesReplaceTheFileAtomicallyAndReportFailure()
    {
        const QString path = fileWith("[S]\na=1\n");
        ProfileFile ini(path);
        QVERIFY(ini.write({{"S", "b", "2"}, {"S", "c", "3"}}));
        const QStringList leftovers = QDir(m_dir.path()).entryList({"*.ini.*"}, QDir::Files);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(",")));
        ProfileFile nowhere(m_dir.filePath("missing-folder/x.ini"));
        QVERIFY(!nowhere.writeString("S", "a", "1"));
        QVERIFY(!QFile::exists(m_dir.filePath("missing-folder")));
    }

    void binaryAndHugeInputNeverBreaksReading()
    {
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += char((i * 7919) & 0xFF);
        const ProfileFile binary(fileWith(garbage));
        QCOMPARE(binary.readString("Main", "Top", "d"), QString("d"));
        const ProfileFile large(
            fileWith("[Main]\n" + QByteArray(3 * 1024 * 1024, 'x') + "\nTop=3\n"));
        QCOMPARE(large.readInteger("Main", "Top", 0), 3);
        const ProfileFile huge(
            fileWith("[Main]\n" + QByteArray(10 * 1024 * 1024, 'x') + "\nTop=3\n"));
        QCOMPARE(huge.readInteger("Main", "Top", 0), 0);
        QCOMPARE(huge.status(), BoundedFile::Damaged);
        const ProfileFile missing(m_dir.filePath("none.ini"));
        QCOMPARE(missing.readString("Main", "Top", "d"), QString("d"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
