// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "measure/ImageArea.h"
#include "measure/PointPainter.h"
#include "measure/TfrmMeres.h"
#include "platform/ProfileFile.h"
#include "records/SheetFile.h"
#include "records/TfrmFind.h"
#include "support/ModalAnswer.h"
#include "support/ProgramFolder.h"
#include "support/Simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <sys/resource.h>

// The measuring run in the whole program: the Start prompt, and a complete run against
// the simulated device.
class TestMeasuringE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProgramFolder> m_dir;

    QString linkPath() const { return m_dir->filePath("ttySIM"); }

    void startProgram()
    {
        m_dir->startProgram();
        frmMain->bringToFront(frmMeres);
    }

    // A key as the keyboard sends it: to whatever has the focus.
    static void press(const QKeySequence &key)
    {
        QWidget *focus = nullptr;
        QVERIFY(QTest::qWaitFor([&] { return (focus = QApplication::focusWidget()); }));
        QTest::keySequence(focus, key);
    }

    static double cpuSeconds()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<ProgramFolder>();
        QVERIFY(
            ProfileFile(m_dir->filePath("tavimer.ini")).writeString("Device", "Ports", linkPath()));
    }

    void cleanup()
    {
        if (frmMeres)
            frmMeres->MarkReadingsSaved();
        if (frmMain)
            frmMain->close();
        Application::destroyWindows();
    }

    void cancellingTheCalibrationPromptChangesNothingAndOkEmptiesTheGrid()
    {
        startProgram();
        frmMeres->SetCell(1, 1, "123");
        frmMeres->SetCell(2, 12, "45");
        {
            ModalAnswer cancel({QMessageBox::Cancel});
            frmMeres->bStartClick();
            QCOMPARE(cancel.texts(), QStringList{TfrmMeres::calibrationPrompt()});
        }
        QCOMPARE(frmMeres->Cell(1, 1), QString("123"));
        QCOMPARE(frmMeres->Run.PointIndex, -1);
        ModalAnswer ok({QMessageBox::Ok});
        frmMeres->bStartClick();
        QCOMPARE(frmMeres->Cell(1, 1), QString());
        QCOMPARE(frmMeres->Cell(2, 12), QString());
        QCOMPARE(frmMeres->Cell(1, 0), QString("Bal"));
        QCOMPARE(frmMeres->Cell(0, 12), QString("St"));
        QCOMPARE(frmMeres->Run.PointIndex, 0);
        QCOMPARE(frmMeres->Run.MeasState, int(MeasuringRun::WaitingForContact));
        QTRY_COMPARE(frmMeres->stLabel->text(), frmMeres->Points().point(0).Label);
    }

    void theTickGoesOnWhileTheCalibrationPromptIsOpen()
    {
        startProgram();
        int phaseWhileOpen = -1;
        int ticksSeen = 0;
        QTimer watcher;
        watcher.setInterval(100);
        connect(&watcher, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (phaseWhileOpen >= 0 && frmMeres->Run.BlinkPhase != phaseWhileOpen)
                ++ticksSeen;
            phaseWhileOpen = frmMeres->Run.BlinkPhase;
            if (ticksSeen >= 3)
                box->button(QMessageBox::Cancel)->click();
        });
        watcher.start();
        frmMeres->bStartClick();
        QVERIFY(ticksSeen >= 3);
    }

    // A foot switch's run: keys only, from bringing the window forward to the saved sheet,
    // the prompt and the patient search answered from the keyboard as well.
    void aSimulatedRunDrivenByKeysAloneFillsTheGridAndIsSavedAsASheet()
    {
        QList<int> values;
        for (int i = 0; i < 24; ++i)
            values << 120 + 41 * i;
        QStringList valueTexts;
        for (int v : values)
            valueTexts << QString::number(v);
        {
            QFile card(m_dir->database() + "BXEQ0001.sza");
            QVERIFY(card.open(QIODevice::WriteOnly));
            card.write("[SzemelyiAdatok]\r\nNev=Lakatos Vera\r\n");
        }
        Simulator simulator;
        QVERIFY(simulator.start(linkPath(), {"--values", valueTexts.join(','), "--jitter", "0",
                                             "--rest", "0.6", "--rise", "0.4", "--hold", "6.6",
                                             "--once", "--quiet", "--fault", "lifted"}));
        m_dir->startProgram();
        frmMain->activateWindow();
        press(QKeySequence(Qt::CTRL | Qt::Key_2));
        QCOMPARE(frmMain->mdiArea()->activeSubWindow()->widget(), frmMeres);
        QTRY_COMPARE_WITH_TIMEOUT(frmMeres->stValue->text(), QString("0"), 10000);

        QStringList asked;
        QTimer answerer;
        answerer.setInterval(50);
        connect(&answerer, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                asked << box->text();
                QTest::keyClick(box, Qt::Key_Return);
            } else if (modal == frmFind) {
                asked << frmFind->windowTitle();
                QTest::keyClicks(frmFind->eFind, "Lakatos");
                QTest::keyClick(frmFind->eFind, Qt::Key_Return);
            }
        });
        answerer.start();
        press(TfrmMeres::kStartKey);
        QCOMPARE(asked, QStringList{TfrmMeres::calibrationPrompt()});
        QCOMPARE(frmMeres->Run.PointIndex, 0);

        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        simulator.command("normal");
        int filled = 0;
        QDeadlineTimer deadline(24 * 9000);
        while (frmMeres->Run.PointIndex != -1 && !deadline.hasExpired()) {
            QTest::qWait(200);
            int nowFilled = 0;
            for (int row = 1; row <= 12; ++row)
                nowFilled +=
                    int(!frmMeres->Cell(1, row).isEmpty()) + int(!frmMeres->Cell(2, row).isEmpty());
            QVERIFY(nowFilled >= filled);
            filled = nowFilled;
        }
        const double cpuShare = (cpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0);
        qInfo("run took %.1f s, CPU %.2f %% of a core", wall.elapsed() / 1000.0, cpuShare * 100);

        QCOMPARE(frmMeres->Run.PointIndex, -1);
        QCOMPARE(frmMeres->Run.MeasState, int(MeasuringRun::Stopped));
        QImage idle(PointMap::kPictureWidth, PointMap::kPictureHeight, QImage::Format_RGB32);
        PointPainter(PointPainter::embeddedPictures()).paintIdle(idle);
        // The idle picture comes with the tick after the last release.
        QTRY_VERIFY(frmMeres->Image1->image().convertToFormat(QImage::Format_RGB32) == idle);
        QVERIFY(frmMeres->stLabel->text().isEmpty());
        QVERIFY(cpuShare < 0.25);

        QVERIFY(frmMeres->HasUnsavedReadings());
        press(TfrmMeres::kSaveKey);
        QCOMPARE(asked.size(), 2);
        QVERIFY(!frmMeres->HasUnsavedReadings());
        QList<KLRecord> sheets;
        QVERIFY(SheetFile(m_dir->database() + "BXEQ0001.kl").read(sheets) && sheets.size() == 1);
        for (int i = 0; i < 24; ++i) {
            const MeasPoint &point = frmMeres->Points().point(i);
            QCOMPARE(frmMeres->Cell(point.Side, point.Row), QString::number(values[i]));
            QCOMPARE(sheets[0].Readings[KLRecord::readingIndex(point.Side, point.Row)], values[i]);
        }
    }

    void reportsTheCostOfOneTickWithItsRepaint()
    {
        startProgram();
        frmMeres->tmrMPont->stop();
        frmMeres->bNextClick();
        QList<qint64> costs;
        QElapsedTimer timer;
        for (int i = 0; i < 300; ++i) {
            timer.start();
            frmMeres->tmrMPontTimer();
            frmMeres->Image1->repaint();
            costs << timer.nsecsElapsed();
        }
        std::sort(costs.begin(), costs.end());
        const double medianMs = costs[costs.size() / 2] / 1e6;
        // Reported, not judged: a busy machine would fail a bound (goal: under 2 ms).
        qInfo("tick with repaint: median %.3f ms", medianMs);
    }
};

QTEST_MAIN(TestMeasuringE2E)
#include "test_measuring_e2e.moc"
