// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"
#include "platform/FileError.h"
#include "platform/MountKind.h"

#include <QFile>
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
        QTest::addColumn<bool>("exclusiveCreate");
        QTest::addColumn<bool>("atomicReplace");
        QTest::newRow("local disk") << "/home/anna"
                                    << "ext4" << true << true;
        QTest::newRow("smbnetfs") << "/mnt/smb/nas/kartonok"
                                  << "fuse.smbnetfs" << false << false;
        QTest::newRow("sshfs inside it") << "/mnt/smb/ssh/db"
                                         << "fuse.sshfs" << true << true;
        QTest::newRow("kernel SMB, blank in name") << "/mnt/kar tonok"
                                                   << "cifs" << true << true;
        QTest::newRow("no partial folder name") << "/mnt/smbx"
                                                << "ext4" << true << true;
        QTest::newRow("fusesmb mount point") << "/media/fs"
                                             << "fuse.fusesmb" << false << false;
        QTest::newRow("nfs") << "/srv/nfs/db"
                             << "nfs4" << true << true;
    }

    void aFolderTakesTheWaysOfItsNearestMount()
    {
        QFETCH(QString, folder);
        QFETCH(QString, type);
        QFETCH(bool, exclusiveCreate);
        QFETCH(bool, atomicReplace);
        const QByteArray mounts = "/dev/sda1 / ext4 rw 0 0\n"
                                  "smbnetfs /mnt/smb fuse.smbnetfs rw,nosuid 0 0\n"
                                  "me@host:/srv /mnt/smb/ssh fuse.sshfs rw 0 0\n"
                                  "//nas/k /mnt/kar\\040tonok cifs rw 0 0\n"
                                  "fusesmb /media/fs/ fuse.fusesmb rw 0 0\n"
                                  "nas:/k /srv/nfs nfs4 rw 0 0\n";
        QCOMPARE(MountKind::typeIn(mounts, folder), type);
        QCOMPARE(MountKind::traitsOf(type).exclusiveCreate, exclusiveCreate);
        QCOMPARE(MountKind::traitsOf(type).atomicReplace, atomicReplace);
    }

    void aWriteInPlaceLeavesExactlyTheNewBytes_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("longer") << QByteArray("[SzemelyiAdatok]\r\n") << QByteArray(5000, 'x');
        QTest::newRow("shorter, no old tail") << QByteArray(928, 's') << QByteArray(464, 'k');
        QTest::newRow("emptied") << QByteArray("text") << QByteArray();
        QTest::newRow("new file") << QByteArray() << QByteArray("db");
    }

    void aWriteInPlaceLeavesExactlyTheNewBytes()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("BXEQ0001.kl");
        QFile file(path);
        if (!old.isEmpty()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
            file.close();
        }
        AtomicFile::setInPlaceEverywhere(true);
        const bool written = AtomicFile::write(path, bytes);
        AtomicFile::setInPlaceEverywhere(false);
        QVERIFY(written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), {"BXEQ0001.kl"});
    }

    void aWriteInPlaceRefusesAFifoWithoutWaiting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("BXEQ0001.sza");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        FileError::clear();
        AtomicFile::setInPlaceEverywhere(true);
        const bool written = AtomicFile::write(path, "[SzemelyiAdatok]\r\n");
        AtomicFile::setInPlaceEverywhere(false);
        QVERIFY(!written);
        QVERIFY2(FileError::last().startsWith(path + ": ") && FileError::last().contains("FIFO"),
                 qPrintable(FileError::last()));
    }
};

QTEST_GUILESS_MAIN(TestShareWrites)
#include "test_share_writes.moc"
