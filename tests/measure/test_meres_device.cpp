// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "measure/DeviceLink.h"
#include "measure/TComPort.h"
#include "measure/TfrmMeres.h"
#include "platform/ProfileFile.h"
#include "support/Simulator.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// The whole program with the simulated device listed in its settings file.
class TestMeresDevice : public QObject
{
    Q_OBJECT

    const QString kCommOK = QString::fromUtf8("A készülék csatlakozik");
    const QString kCommErr = QString::fromUtf8("Nincs kapcsolat a készülékkel");
    const QStringList kHolding = {"--values", QStringList(24, "4660").join(','),
                                  "--rest",   "0.2",
                                  "--rise",   "0.2",
                                  "--hold",   "60",
                                  "--quiet"};

    // The program in dir with the simulated device at linkPath, holding the probe on.
    static bool startProgram(const QTemporaryDir &dir, Simulator &simulator,
                             const QStringList &session)
    {
        qputenv("XDG_DATA_HOME", dir.filePath("xdg").toLocal8Bit());
        QDir().mkpath(dir.filePath("xdg/Kelvaro/Tavimer/Database/arc"));
        QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                    dir.filePath("tavimer.dat"));
        const QString linkPath = dir.filePath("ttySIM");
        if (!ProfileFile(dir.filePath("tavimer.ini")).writeString("Device", "Ports", linkPath) ||
            !simulator.start(linkPath, session))
            return false;
        Application::createWindows(dir.filePath("tavimer"));
        frmMain->show();
        return QTest::qWaitFor([] { return frmMain->isReady(); }, 5000);
    }

private slots:
    void theLiveDisplayFollowsTheDeviceAndRecoversAfterItsRestart()
    {
        QTemporaryDir dir;
        const QString linkPath = dir.filePath("ttySIM");
        Simulator simulator;
        QVERIFY(startProgram(dir, simulator, kHolding));
        QCOMPARE(frmMeres->stValue->text(), QString("- - -"));

        QTRY_VERIFY_WITH_TIMEOUT(qAbs(frmMeres->stValue->text().toInt() - 4660) <= 3, 10000);
        QCOMPARE(frmMain->statusText(), kCommOK);

        simulator.stop();
        QTRY_COMPARE_WITH_TIMEOUT(frmMeres->stValue->text(), QString("- - -"), 30000);
        // A port of this machine that another program holds adds its hint after the text.
        QVERIFY2(frmMain->statusText().startsWith(kCommErr), qPrintable(frmMain->statusText()));

        QVERIFY(simulator.start(linkPath, kHolding));
        QTRY_COMPARE_WITH_TIMEOUT(frmMain->statusText(), kCommOK, 10000);
        QVERIFY(frmMeres->Link->ComPort->Connected());

        frmMain->close();
        QVERIFY(!frmMeres->Link->ComPort->Connected());
        QTest::qWait(1200);
        QVERIFY(!frmMeres->Link->ComPort->Connected());
        Application::destroyWindows();
    }

    void aDeviceLostNearTheEndOfSettlingStoresNothingAndThePointStartsAfresh()
    {
        QTemporaryDir dir;
        Simulator simulator;
        QVERIFY(startProgram(dir, simulator, kHolding));
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(frmMeres->stValue->text().toInt() - 4660) <= 3, 10000);
        const MeasPoint &first = frmMeres->Points().point(0);
        frmMeres->Run.start();
        // Six counted ticks short of the store: the display's held second would have filled them.
        QTRY_VERIFY_WITH_TIMEOUT(frmMeres->Run.SettleCount >= 25, 15000);
        simulator.command("silence");
        QTRY_COMPARE_WITH_TIMEOUT(frmMeres->stValue->text(), QString("- - -"), 5000);
        QTRY_COMPARE(frmMeres->Run.MeasState, int(MeasuringRun::WaitingForContact));
        QCOMPARE(frmMeres->Cell(first.Side, first.Row), QString());
        QCOMPARE(frmMeres->Run.PointIndex, 0);

        simulator.command("normal");
        QTRY_VERIFY_WITH_TIMEOUT(!frmMeres->Cell(first.Side, first.Row).isEmpty(), 15000);
        QCOMPARE(frmMeres->Run.PointIndex, 0);
        frmMeres->MarkReadingsSaved();
        frmMain->close();
        Application::destroyWindows();
    }
};

QTEST_MAIN(TestMeresDevice)
#include "test_meres_device.moc"
