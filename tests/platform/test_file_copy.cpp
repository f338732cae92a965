// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCopy.h"
#include "platform/FileMove.h"
#include "support/FailingSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

class TestFileCopy : public QObject
{
    Q_OBJECT

    static void put(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray get(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void copiesAcrossChunkBoundariesAndReplacesTheTarget()
    {
        QTemporaryDir dir;
        for (const int size : {0, 1, 8191, 8192, 8193, 3 * 8192, 100000}) {
            QByteArray bytes(size, Qt::Uninitialized);
            for (int i = 0; i < size; ++i)
                bytes[i] = char(i * 31);
            put(dir.filePath("src"), bytes);
            put(dir.filePath("dst"), "older and longer content that must go away");
            QCOMPARE(FileCopy::copyFileTo(dir.filePath("src"), dir.filePath("dst")), QString());
            QCOMPARE(get(dir.filePath("dst")), bytes);
        }
    }

    void aFolderAsDestinationTakesTheSourceName()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("arc");
        put(dir.filePath("BXEQ0001.sza"), "card");
        QCOMPARE(FileCopy::copyFileTo(dir.filePath("BXEQ0001.sza"), dir.filePath("arc")),
                 QString());
        QCOMPARE(get(dir.filePath("arc/BXEQ0001.sza")), QByteArray("card"));
        QCOMPARE(FileCopy::copyFileTo(dir.filePath("BXEQ0001.sza"), dir.filePath("arc/")),
                 QString());
    }

    void failuresNameTheFileConcerned()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing");
        QCOMPARE(FileCopy::copyFileTo(missing, dir.filePath("x")),
                 QString("Cannot open file %1").arg(missing));
        put(dir.filePath("src"), "x");
        const QString badTarget = dir.filePath("no-folder/x");
        QCOMPARE(FileCopy::copyFileTo(dir.filePath("src"), badTarget),
                 QString("Cannot create file %1").arg(badTarget));
    }

    void aSourceThatFailsOrEndsEarlyIsNoCopy()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("src");
        put(source, QByteArray(20000, 's'));
        put(dir.filePath("dst"), "older");
        for (const bool fails : {true, false}) {
            FileCopy::setSourceOpener([fails](const QString &path) {
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                return std::make_unique<FailingSource>(file.readAll(), 10000, fails);
            });
            // Read to its end, not to the size reported: a share's cached size may be stale.
            QCOMPARE(FileCopy::copyFileTo(source, dir.filePath("dst")),
                     fails ? QString("Cannot open file %1").arg(source) : QString());
            QCOMPARE(get(dir.filePath("dst")),
                     fails ? QByteArray("older") : QByteArray(10000, 's'));
        }
        FileCopy::setSourceOpener(nullptr);
        QCOMPARE(FileCopy::copyFileTo(source, dir.filePath("dst")), QString());
    }

    void movesNeverReplaceWhateverPrimitiveTheFolderOffers_data()
    {
        QTest::addColumn<bool>("renameFlag");
        QTest::addColumn<bool>("hardLinks");
        QTest::addColumn<bool>("folder");
        QTest::newRow("file, rename without replacing") << true << true << false;
        QTest::newRow("file, link and unlink") << false << true << false;
        QTest::newRow("file, exclusive claim and rename") << false << false << false;
        QTest::newRow("folder, rename without replacing") << true << true << true;
        QTest::newRow("folder, plain rename") << false << false << true;
    }

    void movesNeverReplaceWhateverPrimitiveTheFolderOffers()
    {
        QFETCH(bool, renameFlag);
        QFETCH(bool, hardLinks);
        QFETCH(bool, folder);
        QTemporaryDir dir;
        const QString from = dir.filePath("from");
        const QString to = dir.filePath("to");
        const auto make = [folder](const QString &path, const QByteArray &bytes) {
            if (folder)
                QDir().mkpath(path + "/" + bytes);
            else
                put(path, bytes);
        };
        make(from, "new");
        make(to, "old");
        FileMove::setPrimitives(renameFlag, hardLinks);
        QString reason;
        QVERIFY(!FileMove::withoutReplacing(from, to, &reason));
        QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(EEXIST)));
        QVERIFY(folder ? QFileInfo::exists(to + "/old") : get(to) == "old");
        QVERIFY(QFileInfo::exists(from));
        QVERIFY(folder ? QDir(to).removeRecursively() : QFile::remove(to));
        QVERIFY(FileMove::withoutReplacing(from, to, &reason));
        QVERIFY(!QFileInfo::exists(from));
        QVERIFY(folder ? QFileInfo::exists(to + "/new") : get(to) == "new");
        FileMove::setPrimitives(true, true);
    }
};

QTEST_GUILESS_MAIN(TestFileCopy)
#include "test_file_copy.moc"
