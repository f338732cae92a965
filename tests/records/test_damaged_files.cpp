// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "app/Settings.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
#include "records/BackupReader.h"
#include "records/BackupWriter.h"
#include "records/CardArchive.h"
#include "records/CardFile.h"
#include "records/CardListing.h"
#include "records/SheetFile.h"
#include "support/FileBytes.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A reader that waits on a FIFO is freed by opening its other end, so that such a fault
// fails the test instead of hanging it.
struct FifoWatch
{
    std::atomic<bool> done{false}, fired{false};
    std::thread thread;

    explicit FifoWatch(const QStringList &fifos)
        : thread([this, fifos] {
              for (const QDeadlineTimer deadline(30000); !done; QThread::msleep(10)) {
                  fired = fired || deadline.hasExpired();
                  for (const QString &fifo : fired ? fifos : QStringList())
                      ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
              }
          })
    {
    }
    bool finish() { return done = true, thread.join(), fired; }
};

class TestDamagedFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString kName = QString::fromUtf8("Ödön");

    // "fifo", "zero" (a link to /dev/zero), "huge" (200 MB, sparse) or the bytes themselves.
    QString place(const QString &name, const QByteArray &form)
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        if (form == "fifo")
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else if (form == "zero")
            QFile::link("/dev/zero", path);
        else if (QFile file(path); file.open(QIODevice::WriteOnly))
            form == "huge" ? file.resize(200 << 20) : file.write(form);
        return path;
    }

private slots:
    void readersTakeTextAsItIsAndReportAnythingElse_data()
    {
        QTest::addColumn<QByteArray>("form");
        QTest::addColumn<bool>("readable");
        const QString text = "[SzemelyiAdatok]\nNev=" + kName + "\n[Database]\nDBPath=/x/\n";
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator(20).fillRange(reinterpret_cast<quint32 *>(noise.data()), 1024);
        QTest::newRow("FIFO") << QByteArray("fifo") << false;
        QTest::newRow("link to /dev/zero") << QByteArray("zero") << false;
        QTest::newRow("200 MB") << QByteArray("huge") << false;
        QTest::newRow("UTF-8 mark") << "\xEF\xBB\xBF" + text.toUtf8() << true;
        QTest::newRow("CR line ends")
            << Cp1250::fromUnicode(QString(text).replace("\n", "\r")) << true;
        const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QTest::newRow("UTF-16") << "\xFF\xFE" + utf16 << false;
        QTest::newRow("random bytes") << noise << false;
    }

    void readersTakeTextAsItIsAndReportAnythingElse()
    {
        QFETCH(QByteArray, form);
        QFETCH(bool, readable);
        const QString base = m_dir.filePath("BXEQ0001");
        const QString sza = place("BXEQ0001.sza", form);
        const QString anm = place("BXEQ0001.anm", form);
        // Sheets are binary: only the kind of file and the bound apply to them.
        const bool special = form.size() <= 4;
        const QString kl = place("BXEQ0001.kl", special ? form : QByteArray());
        const QString ini = place("tavimer.ini", form);

        FifoWatch watch(form == "fifo" ? QStringList{sza, anm, kl, ini} : QStringList());
        const CardFile::Contents card = CardFile::read(base);
        const QStringList listed = CardListing::lines(m_dir.path() + "/");
        const bool memoWritten = CardFile::writeMemo(anm, "x");
        const Catalogue catalogue(sza);
        const Settings settings = Settings::load(ini);
        const bool settingsWritten = settings.save(ini);
        QList<KLRecord> sheets;
        SheetFile(kl).read(sheets);
        const QString copied = FileCopy::copyFileTo(kl, base + ".~kl");
        QVERIFY2(!watch.finish(), "a reader waited on a FIFO");

        QCOMPARE(card.personal.first(), readable ? kName : QString());
        QCOMPARE(card.anamnesis.contains(kName), readable);
        QCOMPARE(card.damaged, readable ? QString() : sza);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(memoWritten, readable);
        QCOMPARE(catalogue.text("szemelyiadatok", "NEV"), readable ? kName : "NEV");
        QCOMPARE(settings.damaged, !readable);
        QCOMPARE(settingsWritten, readable);
        QCOMPARE(SheetFile(kl).isDamaged(), special);
        QCOMPARE(copied.isEmpty(), !special);
    }

    void everyReaderOfACardRefusesASpecialFileWithoutWaiting_data()
    {
        QTest::addColumn<QByteArray>("form");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("reason");
        const QList<QPair<QByteArray, QString>> forms = {
            {"fifo", "FIFO"}, {"zero", "device"}, {"huge", "larger than"}};
        for (const auto &[form, reason] : forms) {
            for (const QString extension : {".sza", ".anm", ".pan", ".kl"})
                QTest::newRow(qPrintable(form + " as " + extension)) << form << extension << reason;
        }
    }

    void everyReaderOfACardRefusesASpecialFileWithoutWaiting()
    {
        QFETCH(QByteArray, form);
        QFETCH(QString, extension);
        QFETCH(QString, reason);
        const QString db = m_dir.filePath("special/");
        QDir(db).removeRecursively();
        QDir().mkpath(db + "arc");
        QVERIFY(writeFile(db + "BXEQ0002.sza", "[SzemelyiAdatok]\r\nNev=A\r\n"));
        const QString path = place("special/BXEQ0002" + extension, form);

        FifoWatch watch(form == "fifo" ? QStringList{path} : QStringList());
        CardSession session(db, db + "arc/");
        CardContent card;
        session.open("BXEQ0002", card);
        QList<KLRecord> sheets;
        const CardSession::Outcome sheetsRead = session.readSheets(sheets);
        const BackupResult backup =
            BackupWriter::write(db, m_dir.filePath("backups"), QDateTime::currentDateTime());
        const BackupResult verified = BackupReader::read(path);
        const CardSession::Outcome moved =
            CardArchive::moveCard("BXEQ0002", db, db + "arc/", db, nullptr, 0);
        QVERIFY2(!watch.finish(), "a reader waited on a FIFO");

        QCOMPARE(card.damaged, path);
        QCOMPARE(sheetsRead != CardSession::Outcome::Done, extension == ".kl");
        QCOMPARE(backup.problem, BackupResult::Problem::Unreadable);
        QVERIFY2(backup.detail.contains(path) && backup.detail.contains(reason),
                 qPrintable(backup.detail));
        QVERIFY(!verified.ok());
        QCOMPARE(moved == CardSession::Outcome::NotRegularFile, form != "huge");
    }

    void aChangedFileIsReadAgain()
    {
        const Catalogue catalogue(place("changing.dat", "[Msg]\nAskExit=Sure?\n"));
        QCOMPARE(catalogue.text("msg", "askexit"), QString("Sure?"));
        place("changing.dat", "[Msg]\nAskExit=Really?\nASKEXIT=second\n");
        QCOMPARE(catalogue.text("MSG", "AskExit"), QString("Really?"));
    }
};

QTEST_GUILESS_MAIN(TestDamagedFiles)
#include "test_damaged_files.moc"
