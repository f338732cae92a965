// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/DeviceLink.h"
#include "measure/TComPort.h"
#include "support/TestPty.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <random>

// A million random bytes with random pauses through a real pseudo-terminal: a reading is
// taken exactly when a notification leaves two bytes since the last pause, and it is those two.
class TestDeviceLinkFuzz : public QObject
{
    Q_OBJECT

    static constexpr qint64 kBytes = 1000000;

    static int chunkLength(std::mt19937 &random)
    {
        const unsigned roll = random() % 1000;
        if (roll < 2)
            return 250 + int(random() % 60); // past the buffer's limit
        if (roll < 400)
            return 2;
        if (roll < 650)
            return 1;
        if (roll < 850)
            return 3;
        return 4 + int(random() % 5);
    }

private slots:
    void randomBytesAndPausesYieldReadingsOnlyFromTwoBytesBetweenPauses()
    {
        QTemporaryDir dir;
        TestPty pty(dir.filePath("dev"));
        DeviceLink link([](const QString &key) { return key; },
                        [&pty] { return QStringList{pty.path()}; });
        link.tmrComErrTimer();
        QVERIFY(link.ComPort->Connected());
        // The test makes every pause itself.
        link.tmrComSync->setInterval(24 * 3600 * 1000);
        link.tmrComErr->setInterval(24 * 3600 * 1000);
        link.tmrComSync->start();
        link.tmrComErr->start();

        QByteArray sincePause;
        qint64 written = 0, delivered = 0, readings = 0, failures = 0;
        int deliveredSincePause = 0;
        bool takenInThisNotification = false;
        QString firstFailure;
        auto fail = [&](const QString &why) {
            if (failures++ == 0)
                firstFailure = why;
        };
        connect(&link, &DeviceLink::valueTextChanged, this, [&](const QString &text) {
            takenInThisNotification = true;
            ++readings;
            const int expected = quint8(sincePause.at(0)) * 256 + quint8(sincePause.at(1));
            if (deliveredSincePause != 2 || text != QString::number(expected))
                fail(QStringLiteral("took %1 after %2 bytes").arg(text).arg(deliveredSincePause));
        });
        const TComPort::RxCharHandler receive = link.ComPort->OnRxChar;
        link.ComPort->OnRxChar = [&](TComPort *sender, int count) {
            delivered += count;
            deliveredSincePause += count;
            takenInThisNotification = false;
            receive(sender, count);
            if (takenInThisNotification != (deliveredSincePause == 2))
                fail(QStringLiteral("nothing taken from two bytes"));
        };

        QTimer wake; // keeps the wait below from sleeping for good if a byte were lost
        wake.start(100);
        std::mt19937 random(20261208);
        while (written < kBytes && failures == 0) {
            QByteArray chunk(chunkLength(random), '\0');
            for (char &byte : chunk)
                byte = char(random() & 0xff);
            if (sincePause.size() < 2)
                sincePause += chunk.left(2 - sincePause.size());
            pty.write(chunk);
            written += chunk.size();
            const QDeadlineTimer deadline(5000);
            while (delivered < written && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QCOMPARE(delivered, written);
            QCOMPARE(link.RxBuffer.size(), qMin(deliveredSincePause, 255));
            if (random() % 2 == 0) {
                link.tmrComSyncTimer();
                sincePause.clear();
                deliveredSincePause = 0;
            }
        }
        QVERIFY2(failures == 0, qPrintable(firstFailure));
        QVERIFY(readings > written / 20);
        qInfo("%lld bytes, %lld readings", written, readings);
    }
};

QTEST_GUILESS_MAIN(TestDeviceLinkFuzz)
#include "test_device_link_fuzz.moc"
