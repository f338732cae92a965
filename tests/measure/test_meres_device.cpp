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

private slots:
    void theLiveDisplayFollowsTheDeviceAndRecoversAfterItsRestart()
    {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.filePath("xdg").toLocal8Bit());
        QDir().mkpath(dir.filePath("xdg/Kelvaro/Tavimer/Database/arc"));
        QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                    dir.filePath("tavimer.dat"));
        const QString linkPath = dir.filePath("ttySIM");
        QVERIFY(ProfileFile(dir.filePath("tavimer.ini")).writeString("Device", "Ports", linkPath));

        Simulator simulator;
        QVERIFY(simulator.start(linkPath, kHolding));
        Application::createWindows(dir.filePath("tavimer"));
        frmMain->show();
        QTRY_VERIFY_WITH_TIMEOUT(frmMain->isReady(), 5000);
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
};

QTEST_MAIN(TestMeresDevice)
#include "test_meres_device.moc"
