#include "app/Catalogue.h"
#include "app/Settings.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
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

namespace {

enum Form
{
    Bytes,
    Fifo,
    ZeroLink,
    Oversize,
};

const QString kName = QString::fromUtf8("Ödön");

// A reader that waits on a FIFO is freed by opening its other end, so that such a fault
// fails the test instead of hanging it.
struct FifoWatch
{
    std::atomic<bool> done{false};
    std::atomic<bool> fired{false};
    std::thread thread;

    explicit FifoWatch(const QStringList &fifos)
        : thread([this, fifos] {
              const QDeadlineTimer deadline(30000);
              for (; !done; QThread::msleep(10)) {
                  fired = fired || deadline.hasExpired();
                  for (const QString &fifo : fired ? fifos : QStringList())
                      ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
              }
          })
    {
    }
    bool finish()
    {
        done = true;
        thread.join();
        return fired;
    }
};

} // namespace

class TestDamagedFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_fifos;

    QString place(const QString &name, Form form, const QByteArray &bytes)
    {
        const QString path = m_dir->filePath(name);
        QFile::remove(path);
        if (form == Fifo) {
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
            m_fifos << path;
        } else if (form == ZeroLink) {
            QFile::link(QStringLiteral("/dev/zero"), path);
        } else if (form == Oversize) {
            // Sparse: the size without the disk space.
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.resize(200 * 1024 * 1024);
        } else {
            writeFile(path, bytes);
        }
        return path;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_fifos.clear();
    }

    void readersTakeTextAsItIsAndReportAnythingElse_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        const QString text =
            "[SzemelyiAdatok]\nNev=" + kName + "\n[Database]\nDBPath=/" + kName + "/\n[MP]\nX1=5\n";
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator(20).fillRange(reinterpret_cast<quint32 *>(noise.data()), 1024);
        QTest::newRow("FIFO") << int(Fifo) << QByteArray() << false;
        QTest::newRow("link to /dev/zero") << int(ZeroLink) << QByteArray() << false;
        QTest::newRow("200 MB") << int(Oversize) << QByteArray() << false;
        QTest::newRow("UTF-8 byte-order mark")
            << int(Bytes) << "\xEF\xBB\xBF" + QString(text).replace("\n", "\r\n").toUtf8() << true;
        QTest::newRow("CR line ends")
            << int(Bytes) << Cp1250::fromUnicode(QString(text).replace("\n", "\r")) << true;
        QTest::newRow("UTF-16") << int(Bytes)
                                << QByteArray("\xFF\xFE") +
                                       QByteArray(reinterpret_cast<const char *>(text.utf16()),
                                                  text.size() * 2)
                                << false;
        QTest::newRow("random bytes") << int(Bytes) << noise << false;
    }

    void readersTakeTextAsItIsAndReportAnythingElse()
    {
        QFETCH(int, form);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        const Form shape = Form(form);
        const QString base = m_dir->filePath("BXEQ0001");
        const QString sza = place("BXEQ0001.sza", shape, bytes);
        const QString anm = place("BXEQ0001.anm", shape, bytes);
        const QString kl = shape == Bytes ? QString() : place("BXEQ0001.kl", shape, bytes);
        const QString dat = place("tavimer.dat", shape, bytes);
        const QString ini = place("tavimer.ini", shape, bytes);

        FifoWatch watch(m_fifos);
        const CardFile::Contents card = CardFile::read(base);
        const QStringList listed = CardListing::lines(m_dir->path() + "/");
        QString memo;
        const bool memoRead = CardFile::readMemo(anm, memo);
        const bool memoWritten = CardFile::writeMemo(anm, "x");
        const Catalogue catalogue(dat);
        const Settings settings = Settings::load(ini);
        const bool settingsWritten = settings.save(ini);
        QList<KLRecord> sheets;
        const bool sheetsRead = !kl.isEmpty() && SheetFile(kl).read(sheets);
        const QString copied = kl.isEmpty() ? QString() : FileCopy::copyFileTo(kl, base + ".~kl");
        QVERIFY2(!watch.finish(), "a reader waited on a FIFO");

        QCOMPARE(card.personal.first(), readable ? kName : QString());
        QCOMPARE(card.damaged, readable ? QString() : sza);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(memoRead, readable);
        QCOMPARE(memo.contains(kName), readable);
        QCOMPARE(memoWritten, readable);
        QCOMPARE(catalogue.isDamaged(), !readable);
        QCOMPARE(catalogue.text("SzemelyiAdatok", "Nev"), readable ? kName : "Nev");
        QCOMPARE(catalogue.rawInteger("MP", "X1"), readable ? 5 : 0);
        QCOMPARE(settings.damaged, !readable);
        QCOMPARE(settings.dbPath.startsWith("/" + kName), readable);
        QCOMPARE(settingsWritten, readable);
        if (shape == Bytes && !readable)
            QCOMPARE(readFile(ini), bytes);
        if (!kl.isEmpty()) {
            QVERIFY(SheetFile(kl).isDamaged());
            QCOMPARE(sheetsRead && !sheets.isEmpty(), false);
            QVERIFY(!copied.isEmpty());
        }
    }

    void aChangedFileIsReadAgain()
    {
        const QString path = m_dir->filePath("changing.dat");
        writeFile(path, "[Msg]\nAskExit=Sure?\n");
        const Catalogue catalogue(path);
        QCOMPARE(catalogue.text("msg", "askexit"), QString("Sure?"));
        writeFile(path, "[Msg]\nAskExit=Really sure?\nAskExit=second\n");
        QCOMPARE(catalogue.text("MSG", "AskExit"), QString("Really sure?"));
    }
};

QTEST_GUILESS_MAIN(TestDamagedFiles)
#include "test_damaged_files.moc"
