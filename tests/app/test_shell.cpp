// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/Settings.h"
#include "app/TfrmMain.h"
#include "app/TfrmStart.h"
#include "diagrams/TfrmBar.h"
#include "diagrams/TfrmCirc.h"
#include "diagrams/TfrmCirc1.h"
#include "diagrams/TfrmCirc2.h"
#include "diagrams/TfrmCompare.h"
#include "diagrams/TfrmHusbWife.h"
#include "diagrams/TfrmPrint.h"
#include "diagrams/TfrmUSin.h"
#include "measure/TfrmMeres.h"
#include "platform/ProfileFile.h"
#include "records/BackupReader.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"
#include "support/FileBytes.h"
#include "support/ModalAnswer.h"

#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// Starts and ends the whole program in a temporary program folder.
class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const QString kAskSave = QString::fromUtf8("A mérés nincs elmentve kezelőlapként. Elmentsem?");

    QString programPath() const { return m_dir->filePath("tavimer"); }
    QString iniPath() const { return m_dir->filePath("tavimer.ini"); }

    // The test screen is 800 x 800: a restored window is fitted inside it, frame and all.
    static QSize onScreen(const QSize &size)
    {
        const QMargins frame(frmMain->geometry().left() - frmMain->frameGeometry().left(),
                             frmMain->geometry().top() - frmMain->frameGeometry().top(),
                             frmMain->frameGeometry().right() - frmMain->geometry().right(),
                             frmMain->frameGeometry().bottom() - frmMain->geometry().bottom());
        return size.boundedTo(frmMain->screen()->availableGeometry().size().shrunkBy(frame));
    }
    QString defaultDb() const { return m_dir->filePath("xdg/Kelvaro/Tavimer/Database/"); }

    void start()
    {
        Application::createWindows(programPath());
        frmMain->show();
        QTRY_VERIFY_WITH_TIMEOUT(frmMain->isReady(), 5000);
    }

    void finish()
    {
        if (frmMain)
            frmMain->close();
        Application::destroyWindows();
    }

    void writeIni(const QByteArray &bytes)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", m_dir->filePath("xdg").toLocal8Bit());
        QDir().mkpath(defaultDb());
        QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/tavimer.dat",
                    m_dir->filePath("tavimer.dat"));
    }

    void firstStartUsesDefaultsAndWritesThemAtShutDown()
    {
        ModalAnswer answers;
        start();
        QCOMPARE(answers.count(), 0);
        QCOMPARE(frmMain->pos(), QPoint(0, 0));
        QCOMPARE(frmMain->size(), onScreen(QSize(800, 560)));
        const QSize shown = frmMain->size();
        QCOMPARE(frmMain->DBPath, defaultDb());
        QCOMPARE(frmMain->ArcPath, defaultDb() + "arc/");
        QCOMPARE(frmMain->windowTitle(), QString("Sorvendi"));
        QVERIFY(frmStart->isHidden());
        QCOMPARE(frmStart->statusText(), QString("End of initialization"));
        QCOMPARE(frmMain->mdiArea()->activeSubWindow(), frmKarton->subWindow());
        QVERIFY(frmKarton->subWindow()->isMaximized());
        QVERIFY(frmMain->sbKarton->isChecked());
        finish();
        const ProfileFile ini(iniPath());
        QCOMPARE(ini.readInteger("Main", "Top", -1), 0);
        QCOMPARE(ini.readInteger("Main", "Left", -1), 0);
        QCOMPARE(ini.readInteger("Main", "Width", -1), shown.width());
        QCOMPARE(ini.readInteger("Main", "Height", -1), shown.height());
        QCOMPARE(ini.readString("Database", "DBPath"), defaultDb());
    }

    void childWindowsComeInOrderWithTranslatedTitles()
    {
        start();
        const QList<QMdiSubWindow *> subs = frmMain->mdiArea()->subWindowList();
        const QList<QWidget *> order = {frmKarton, frmMeres, frmHusbWife, frmUSin,   frmBar,
                                        frmCirc,   frmCirc1, frmCirc2,    frmCompare};
        QCOMPARE(subs.size(), order.size());
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(subs[i]->widget(), order[i]);
        QCOMPARE(frmMeres->windowTitle(), QString::fromUtf8("Mérés"));
        QCOMPARE(frmKarton->windowTitle(), QString("Kartonok"));
        QCOMPARE(frmCompare->windowTitle(), QString::fromUtf8("Összehasonlítás"));
        QCOMPARE(frmFind->windowTitle(), QString::fromUtf8("Beteg keresés"));
        QVERIFY(frmBar->subWindow()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!(frmUSin->subWindow()->windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(frmMain->sbMeres->toolTip(), QString::fromUtf8("Mérés (Ctrl+2)"));
        QVERIFY(frmMain->sbExit->toolTip().isEmpty());
        finish();
    }

    void everyToolBarButtonBringsItsWindowForward_data()
    {
        QTest::addColumn<bool>("keys");
        QTest::newRow("mouse") << false;
        QTest::newRow("keys") << true;
    }

    void everyToolBarButtonBringsItsWindowForward()
    {
        QFETCH(bool, keys);
        start();
        const QList<QPair<QToolButton *, QWidget *>> pairs = {
            {frmMain->sbMeres, frmMeres},       {frmMain->sbBar, frmBar},
            {frmMain->sbCirc, frmCirc},         {frmMain->sbUSin, frmUSin},
            {frmMain->sbHusbWife, frmHusbWife}, {frmMain->sbCirc1, frmCirc1},
            {frmMain->sbCirc2, frmCirc2},       {frmMain->sbKarton, frmKarton}};
        // Print and exit are commands, never shown pressed.
        QVERIFY(!frmMain->sbPrint->isCheckable() && !frmMain->sbExit->isCheckable());
        QApplication::setActiveWindow(frmMain);
        for (const auto &pair : pairs) {
            // The tool tip names the key, "Ctrl+1" for the first window.
            const QString tip = pair.first->toolTip();
            const QKeySequence key(tip.mid(tip.lastIndexOf('(') + 1).chopped(1));
            if (keys)
                QTest::keySequence(QApplication::focusWidget(), key);
            else
                pair.first->click();
            QCOMPARE(frmMain->mdiArea()->activeSubWindow()->widget(), pair.second);
            for (const auto &other : pairs)
                QCOMPARE(other.first->isChecked(), other.first == pair.first);
        }
        QList<QWidget *> printed;
        frmPrint->choosePrinter = [&](QPrinter &) {
            printed << frmMain->mdiArea()->activeSubWindow()->widget();
            return false;
        };
        QVERIFY(frmMain->sbPrint->toolTip().endsWith("(Ctrl+P)"));
        keys ? QTest::keySequence(QApplication::focusWidget(), TfrmMain::kPrintKey)
             : frmMain->sbPrint->click();
        QCOMPARE(printed, QList<QWidget *>{frmKarton});
        finish();
    }

    void storedSizesBelowTheMinimumAreRaised()
    {
        writeIni("[Main]\r\nTop=10\r\nLeft=20\r\nWidth=640\r\nHeight=900\r\n");
        start();
        QCOMPARE(frmMain->size(), onScreen(QSize(800, 900)));
        QVERIFY(frmMain->screen()->availableGeometry().contains(frmMain->frameGeometry()));
        frmMain->resize(500, 300);
        QCOMPARE(frmMain->size(), onScreen(QSize(800, 560)));
        finish();
    }

    void aMissingDatabaseFolderIsReportedOnceWithItsPath()
    {
        writeIni("[Database]\r\nDBPath=/nonexistent/tavimer-db/\r\n");
        ModalAnswer answers;
        start();
        QCOMPARE(answers.count(), 1);
        QVERIFY(answers.texts().first().contains("/nonexistent/tavimer-db/"));
        QCOMPARE(frmMain->ArcPath, QString("/nonexistent/tavimer-db/arc/"));
        QVERIFY(!QFile::exists("/nonexistent/tavimer-db/"));
        finish();
    }

    void aStartUpMessageIsNeverCoveredByTheSplash()
    {
        writeIni("[Database]\r\nDBPath=/nonexistent/tavimer-db/\r\n");
        bool splashShown = true;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                splashShown = frmStart->isVisible();
                box->accept();
            }
        });
        watch.start(20);
        start();
        QVERIFY(!splashShown);
        QVERIFY(frmStart->isHidden());
        finish();
    }

    void aFirstStartMakesTheDefaultDatabaseFolderSilently()
    {
        QDir(defaultDb()).removeRecursively();
        ModalAnswer answers;
        start();
        QCOMPARE(answers.count(), 0);
        QVERIFY(QDir(defaultDb() + "arc/").exists());
        finish();
    }

    void closingBeforeTheProgramIsReadyEndsItAndTouchesNothing()
    {
        const QByteArray stored = "[Database]\r\nDBPath=/kept/db/\r\n";
        writeIni(stored);
        Application::createWindows(programPath());
        frmMain->show();
        frmMain->close();
        QTest::qWait(1500);
        QVERIFY(!frmMain->isReady());
        QVERIFY(!frmMeres);
        QVERIFY(!frmKarton);
        QVERIFY(!frmStart->isVisible());
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stored);
        Application::destroyWindows();
    }

    void everyWindowAndDialogCarriesTheProgramsIconAndQtSpeaksHungarian()
    {
        start();
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(48, 48)));
        // The frame draws its own copy of the icon: Qt's green logo must not be in it.
        const QImage frame = frmMeres->subWindow()->grab(QRect(0, 0, 28, 24)).toImage();
        int green = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                green += c.green() > 150 && c.red() < 120 && c.blue() < 120;
            }
        }
        QVERIFY2(green < 30, qPrintable(QString::number(green)));
        QStringList buttons;
        qint64 boxIcon = 0;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                buttons << box->button(QMessageBox::Yes)->text()
                        << box->button(QMessageBox::No)->text();
                boxIcon = box->windowIcon().cacheKey();
                box->button(QMessageBox::No)->click();
            }
        });
        watch.start(20);
        frmMain->sbExitClick();
        finish();
        QCOMPARE(boxIcon, icon.cacheKey());
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qt_hu.qm"))
            QSKIP("Qt's Hungarian translations are not installed (qt6-translations-l10n)");
        QCOMPARE(buttons, QStringList({"&Igen", "&Nem"}));
    }

    void exitAsksFirstAndNoKeepsTheProgramRunning()
    {
        start();
        {
            ModalAnswer no({QMessageBox::No});
            frmMain->sbExitClick();
            QCOMPARE(no.count(), 1);
            QCOMPARE(no.texts().first(), QString::fromUtf8("Biztosan kilép a programból?"));
        }
        QVERIFY(frmMain->isVisible());
        QVERIFY(!QFile::exists(iniPath()));
        ModalAnswer yes({QMessageBox::Yes});
        frmMain->sbExitClick();
        QVERIFY(!frmMain->isVisible());
        QVERIFY(QFile::exists(iniPath()));
        Application::destroyWindows();
    }

    void anUnsavedMeasurementIsAskedAboutOnceByEitherWayOfEnding_data()
    {
        QTest::addColumn<bool>("exitButton");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("asked");
        const QString exit = QString::fromUtf8("Biztosan kilép a programból?");
        QTest::newRow("close box, nothing unsaved") << false << QMessageBox::Ok << QString();
        QTest::newRow("close box, cancel") << false << QMessageBox::Cancel << kAskSave;
        QTest::newRow("close box, no") << false << QMessageBox::No << kAskSave;
        QTest::newRow("exit button, nothing unsaved") << true << QMessageBox::Yes << exit;
        QTest::newRow("exit button, no") << true << QMessageBox::No << kAskSave;
    }

    void anUnsavedMeasurementIsAskedAboutOnceByEitherWayOfEnding()
    {
        QFETCH(bool, exitButton);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, asked);
        start();
        if (asked == kAskSave) {
            // Point 1 as a run takes it: settled at 186, the probe leaving on the storing tick.
            frmMeres->Run.start();
            for (int t = 0; t <= 52; ++t) {
                frmMeres->stValue->setText(t < 52 ? "186" : "0");
                frmMeres->tickOn(MeasuringRun::Feed::Fresh);
            }
            QCOMPARE(frmMeres->Cell(1, 1), QString("186"));
        }
        {
            ModalAnswer answers({answer});
            exitButton ? frmMain->sbExitClick() : void(frmMain->close());
            QCOMPARE(answers.texts(), asked.isEmpty() ? QStringList() : QStringList{asked});
        }
        QCOMPARE(QFile::exists(iniPath()), answer != QMessageBox::Cancel);
        frmMeres->MarkReadingsSaved();
        finish();
    }

    void exitOffersABackupWhenTheLastIsOld_data()
    {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<int>("remindDays");
        QTest::addColumn<bool>("card");
        QTest::addColumn<QString>("question");
        const QString plain = QString::fromUtf8("Biztosan kilép a programból?");
        QTest::newRow("recent") << 2 << 7 << true << plain;
        QTest::newRow("old") << 9 << 7 << true << QString::fromUtf8("mentés 9 napja készült");
        QTest::newRow("never") << -1 << 7 << true << QString::fromUtf8("Még nem készült");
        QTest::newRow("reminder off") << 30 << 0 << true << plain;
        QTest::newRow("nothing to lose") << -1 << 7 << false << plain;
    }

    void exitOffersABackupWhenTheLastIsOld()
    {
        QFETCH(int, daysAgo);
        QFETCH(int, remindDays);
        QFETCH(bool, card);
        QFETCH(QString, question);
        QByteArray ini = "[Backup]\r\nRemindDays=" + QByteArray::number(remindDays) + "\r\n";
        if (daysAgo >= 0)
            ini +=
                "Last=" +
                QDateTime::currentDateTimeUtc().addDays(-daysAgo).toString(Qt::ISODate).toLatin1();
        writeIni(ini);
        if (card)
            QFile(defaultDb() + "BXEQ0001.sza").open(QIODevice::WriteOnly);
        start();
        {
            ModalAnswer cancel({QMessageBox::Cancel});
            frmMain->sbExitClick();
            QCOMPARE(cancel.count(), 1);
            QVERIFY2(cancel.texts().first().contains(question), qPrintable(cancel.texts().first()));
        }
        QVERIFY(frmMain->isVisible());
        finish();
    }

    void yesAtTheReminderBacksUpFirstThenEnds()
    {
        const QString folder = m_dir->filePath("backups");
        QDir().mkpath(folder);
        writeIni("[Backup]\r\nFolder=" + folder.toUtf8() + "\r\n");
        QFile(defaultDb() + "BXEQ0001.sza").open(QIODevice::WriteOnly);
        start();
        ModalAnswer answers({QMessageBox::Yes, QMessageBox::Ok});
        frmMain->sbExitClick();
        QCOMPARE(answers.count(), 2);
        QVERIFY(!frmMain->isVisible());
        const QStringList zips = QDir(folder).entryList({"Tavimer-*.zip"});
        QCOMPARE(zips.size(), 1);
        QVERIFY(BackupReader::read(folder + "/" + zips.first()).ok());
        QVERIFY(Settings::loadBackup(iniPath()).last.isValid());
        Application::destroyWindows();
    }

    void anUnwritableSettingsFileIsReportedAndTheProgramStillEnds()
    {
        start();
        QDir().mkpath(iniPath());
        ModalAnswer answers;
        frmMain->close();
        QCOMPARE(answers.count(), 1);
        QCOMPARE(answers.texts().first(), QString("Unable to write to %1").arg(iniPath()));
        QVERIFY(!frmMain->isVisible());
        Application::destroyWindows();
    }

    void garbageSettingsAndNoCatalogueStillStart()
    {
        QFile::remove(m_dir->filePath("tavimer.dat"));
        QByteArray garbage;
        for (int i = 0; i < 20000; ++i)
            garbage += char((i * 131) & 0xFF);
        writeIni(garbage);
        ModalAnswer answers;
        start();
        QCOMPARE(answers.count(), 1);
        QVERIFY(answers.texts().first().contains(iniPath()));
        QCOMPARE(frmMain->size(), onScreen(QSize(800, 560)));
        QCOMPARE(frmMeres->windowTitle(), QString::fromUtf8("Mérés"));
        QCOMPARE(frmMain->sbKarton->toolTip(), QString("Kartonok (Ctrl+1)"));
        finish();
        QCOMPARE(readFile(iniPath()), garbage);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
