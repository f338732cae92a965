// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCopy.h"
#include "support/FailingSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestFileCopy)
#include "test_file_copy.moc"
