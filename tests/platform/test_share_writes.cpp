// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"
#include "platform/FileError.h"
#include "platform/MountKind.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TestShareWrites : public QObject
{
    Q_OBJECT

private slots:
    void aFolderTakesTheWaysOfItsNearestMount_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("shareWays");
        QTest::newRow("local disk") << "/home/anna"
                                    << "ext4" << false;
        QTest::newRow("smbnetfs") << "/mnt/smb/nas/kartonok"
                                  << "fuse.smbnetfs" << true;
        QTest::newRow("sshfs inside it") << "/mnt/smb/ssh/db"
                                         << "fuse.sshfs" << false;
        QTest::newRow("kernel SMB, blank in name") << "/mnt/kar tonok"
                                                   << "cifs" << false;
        QTest::newRow("no partial folder name") << "/mnt/smbx"
                                                << "ext4" << false;
        QTest::newRow("fusesmb mount point") << "/media/fs"
                                             << "fuse.fusesmb" << true;
    }

    void aFolderTakesTheWaysOfItsNearestMount()
    {
        QFETCH(QString, folder);
        QFETCH(QString, type);
        QFETCH(bool, shareWays);
        const QByteArray mounts =
            "/dev/sda1 / ext4 rw 0 0\nsmbnetfs /mnt/smb fuse.smbnetfs rw 0 0\n"
            "me@host:/srv /mnt/smb/ssh fuse.sshfs rw 0 0\n"
            "//nas/k /mnt/kar\\040tonok cifs rw 0 0\n"
            "fusesmb /media/fs/ fuse.fusesmb rw 0 0\n";
        QCOMPARE(MountKind::typeIn(mounts, folder), type);
        QCOMPARE(MountKind::traitsOf(type).exclusiveCreate, !shareWays);
        QCOMPARE(MountKind::traitsOf(type).atomicReplace, !shareWays);
    }

    void aWriteInPlaceLeavesExactlyTheNewBytesOrRefusesAFifo_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("longer") << QByteArray("[SzemelyiAdatok]\r\n") << QByteArray(5000, 'x');
        QTest::newRow("shorter, no old tail") << QByteArray(928, 's') << QByteArray(464, 'k');
        QTest::newRow("emptied") << QByteArray("text") << QByteArray();
        QTest::newRow("new file") << QByteArray() << QByteArray("db");
        QTest::newRow("fifo") << QByteArray("fifo") << QByteArray("[SzemelyiAdatok]\r\n");
    }

    void aWriteInPlaceLeavesExactlyTheNewBytesOrRefusesAFifo()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("BXEQ0001.kl");
        QFile file(path);
        const bool fifo = old == "fifo";
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (!old.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        FileError::clear();
        AtomicFile::setInPlaceEverywhere(true);
        const bool written = AtomicFile::write(path, bytes);
        AtomicFile::setInPlaceEverywhere(false);
        QCOMPARE(written, !fifo);
        if (fifo)
            QVERIFY2(FileError::last().startsWith(path + ": ") &&
                         FileError::last().contains("FIFO"),
                     qPrintable(FileError::last()));
        else
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestShareWrites)
#include "test_share_writes.moc"
