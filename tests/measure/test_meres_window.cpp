// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmMain.h"
#include "measure/ImageArea.h"
#include "measure/PointMap.h"
#include "measure/TfrmMeres.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The measuring window inside a main window whose catalogue is the shipped one.
class TestMeresWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_main;

    TfrmMeres *open(const QString &catalogue = "assets/tavimer.dat")
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile::copy(qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/" + catalogue,
                    m_dir->filePath("tavimer.dat"));
        m_main = std::make_unique<TfrmMain>(m_dir->filePath("tavimer"));
        m_main->resize(1100, 800);
        m_main->show();
        auto *window = new TfrmMeres();
        m_main->mdiArea()->addSubWindow(window)->show();
        return window;
    }

private slots:
    void cleanup() { m_main.reset(); }

    void designLayoutToThePixel()
    {
        TfrmMeres *w = open();
        QCOMPARE(w->subWindow()->size(), QSize(738, 503));
        QCOMPARE(w->GrPanel->geometry(), QRect(0, 8, 217, 465));
        QCOMPARE(w->Panel1->geometry(), QRect(218, 8, 512, 465));
        QCOMPARE(w->stValue->parentWidget(), w->GrPanel);
        QCOMPARE(w->stValue->geometry(), QRect(16, 16, 185, 89));
        QCOMPARE(w->grMeres->geometry(), QRect(24, 128, 169, 289));
        QCOMPARE(w->Image1->geometry(), QRect(16, 8, 480, 320));
        QCOMPARE(w->Bevel1->geometry(), QRect(14, 6, 483, 323));
        QCOMPARE(w->stLabel->geometry(), QRect(16, 344, 477, 25));
        QCOMPARE(w->bStart->geometry(), QRect(24, 407, 145, 33));
        QCOMPARE(w->bSave->geometry(), QRect(176, 407, 113, 33));
        QCOMPARE(w->bPrev->geometry(), QRect(298, 407, 91, 33));
        QCOMPARE(w->bNext->geometry(), QRect(396, 407, 89, 33));
    }

    void looksOfTheControls()
    {
        TfrmMeres *w = open();
        QCOMPARE(w->font().pixelSize(), 11);
        QCOMPARE(w->stValue->text(), QString("- - -"));
        QCOMPARE(w->stValue->font().pixelSize(), 64);
        QVERIFY(w->stValue->font().bold());
        QCOMPARE(w->stValue->font().family(), QString("Verdana"));
        QCOMPARE(w->stValue->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(w->stValue->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(w->stValue->alignment() & Qt::AlignHCenter);
        QCOMPARE(w->stLabel->font().pixelSize(), 16);
        QVERIFY(w->stLabel->font().bold());
        QVERIFY(w->stLabel->text().isEmpty());
        QCOMPARE(w->bStart->font().pixelSize(), 13);
        QVERIFY(w->bStart->font().bold());
        QVERIFY(!w->bSave->font().bold());
    }

    void gridHasFixedHeadersAndCannotBeEdited()
    {
        TfrmMeres *w = open();
        QTableWidget *grid = w->grMeres;
        QCOMPARE(grid->rowCount(), 13);
        QCOMPARE(grid->columnCount(), 3);
        for (int col = 0; col < 3; ++col)
            QCOMPARE(grid->columnWidth(col), 55);
        for (int row = 0; row < 13; ++row)
            QCOMPARE(grid->rowHeight(row), 21);
        QVERIFY(grid->horizontalHeader()->isHidden());
        QVERIFY(grid->verticalHeader()->isHidden());
        QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(grid->showGrid());
        const QColor sky(166, 202, 240);
        QCOMPARE(grid->item(0, 0)->background().color(), sky);
        QCOMPARE(grid->item(0, 2)->background().color(), sky);
        QCOMPARE(grid->item(12, 0)->background().color(), sky);
        QVERIFY(grid->item(5, 1)->background().style() == Qt::NoBrush);
        QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsSelectable));
    }

    void titleCaptionsAndHeadersComeFromTheCatalogue_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Hungarian")
            << "assets/tavimer.dat"
            << QStringList{"Mérés", "&Start", "&Mentés", "< &Előző", "&Következő >", "Bal", "Jobb"};
        QTest::newRow("English") << "assets/tavimer-en.dat"
                                 << QStringList{"Measurement", "&Start", "Sa&ve", "< &Previous",
                                                "&Next >",     "Left",   "Right"};
        // Without a catalogue, the program's own texts: never a key.
        QTest::newRow("none") << "assets/absent.dat"
                              << QStringList{"Mérés",        "&Start", "&Mentés", "< &Előző",
                                             "&Következő >", "Bal",    "Jobb"};
    }

    void titleCaptionsAndHeadersComeFromTheCatalogue()
    {
        QFETCH(QString, catalogue);
        QFETCH(QStringList, texts);
        TfrmMeres *w = open(catalogue);
        const QStringList shown = {w->windowTitle(), w->bStart->text(), w->bSave->text(),
                                   w->bPrev->text(), w->bNext->text(),  w->Cell(1, 0),
                                   w->Cell(2, 0)};
        QCOMPARE(shown, texts);
        const QStringList meridians = {"Lu", "Hc", "Ht", "Si", "Th", "Li",
                                       "Sp", "Lv", "Ki", "Bl", "Gb", "St"};
        for (int row = 1; row <= 12; ++row)
            QCOMPARE(w->Cell(0, row), meridians[row - 1]);
        QVERIFY(w->Cell(0, 0).isEmpty());
        QCOMPARE(w->Run.PointIndex, -1);
        QCOMPARE(w->Run.MeasState, 0);
    }

    void theRunsKeysAreNamedInTheTipsAndMoveThePoint_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("Hungarian") << "assets/tavimer.dat";
        QTest::newRow("English") << "assets/tavimer-en.dat";
    }

    void theRunsKeysAreNamedInTheTipsAndMoveThePoint()
    {
        QFETCH(QString, catalogue);
        TfrmMeres *w = open(catalogue);
        const QList<QPair<QPushButton *, QKeySequence>> keys = {{w->bStart, TfrmMeres::kStartKey},
                                                                {w->bSave, TfrmMeres::kSaveKey},
                                                                {w->bPrev, TfrmMeres::kPrevKey},
                                                                {w->bNext, TfrmMeres::kNextKey}};
        QSet<QKeySequence> altKeys;
        for (const auto &[button, key] : keys) {
            QVERIFY2(button->toolTip().contains(key.toString()), qPrintable(button->toolTip()));
            altKeys.insert(QKeySequence::mnemonic(button->text()));
        }
        QCOMPARE(altKeys.size(), 4);
        QVERIFY(!altKeys.contains(QKeySequence()));
        QVERIFY(!w->grMeres->tabKeyNavigation());

        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        m_main->mdiArea()->setActiveSubWindow(w->subWindow());
        w->grMeres->setFocus();
        QTRY_VERIFY(w->grMeres->hasFocus());
        QTest::keySequence(w->grMeres, TfrmMeres::kNextKey);
        QTest::keySequence(w->grMeres, TfrmMeres::kNextKey);
        QCOMPARE(w->Run.PointIndex, 1);
        // An Alt key presses its button as a click does, shown pressed for a moment first.
        QTest::keySequence(w->grMeres, QKeySequence::mnemonic(w->bPrev->text()));
        QTRY_COMPARE(w->Run.PointIndex, 0);
        QTest::keyClick(w->grMeres, Qt::Key_Tab);
        QVERIFY(!w->grMeres->hasFocus());
    }

    void resizingMovesPanelsAndAnchoredControlsOnly()
    {
        TfrmMeres *w = open();
        w->subWindow()->resize(900, 600);
        QCOMPARE(w->GrPanel->geometry(), QRect(0, 8, 217, 562));
        QCOMPARE(w->Panel1->geometry(), QRect(218, 8, 674, 562));
        QCOMPARE(w->Image1->geometry(), QRect(16, 8, 480, 320));
        QCOMPARE(w->grMeres->geometry(), QRect(24, 128, 169, 289));
        QCOMPARE(w->stLabel->geometry(), QRect(16, 344, 639, 25));
        QCOMPARE(w->bStart->geometry(), QRect(24, 504, 145, 33));
        QCOMPARE(w->bSave->geometry(), QRect(176, 504, 113, 33));
        QCOMPARE(w->bPrev->geometry(), QRect(460, 504, 91, 33));
        QCOMPARE(w->bNext->geometry(), QRect(558, 504, 89, 33));
    }

    void theShippedPicturesAreEmbedded()
    {
        for (const QString &name : PointMap::pictureNames()) {
            const QImage picture(":/pictures/" + name);
            QCOMPARE(picture.size(), QSize(480, 320));
        }
    }

    void idlePictureIsShownFromTheStart()
    {
        TfrmMeres *w = open();
        const QImage idle = QImage(":/pictures/imgKezFelul").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(w->Image1->image(), idle);
    }

    void showingAPointSelectsItsCell()
    {
        TfrmMeres *w = open();
        for (int index : {0, 5, 13, 23}) {
            const MeasPoint &point = w->Points().point(index);
            w->ShowPoint(index, 0);
            QCOMPARE(w->grMeres->currentRow(), point.Row);
            QCOMPARE(w->grMeres->currentColumn(), point.Side);
            QCOMPARE(w->grMeres->selectedItems(), {w->grMeres->item(point.Row, point.Side)});
            QCOMPARE(w->Image1->image().pixelColor(point.X, point.Y), QColor(240, 240, 0));
        }
        w->ShowIdle();
        QCOMPARE(w->grMeres->currentRow(), w->Points().point(23).Row);
    }

    // A point without a cell is still shown, with nothing selected; its reading
    // cannot land anywhere, not even in a heading.
    void pointOutsideTheGridSelectsNothing()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QFile file(m_dir->filePath("tavimer.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[MP]\nX1=40\nY1=40\nIMG1=imgTenyer\nTBL1=R0\nX2=50\nY2=50\nTBL2=L13\n"
                   "TBL3=R4\n");
        file.close();
        m_main = std::make_unique<TfrmMain>(m_dir->filePath("tavimer"));
        auto *w = new TfrmMeres();
        m_main->mdiArea()->addSubWindow(w);
        w->ShowPoint(2, 0);
        QCOMPARE(w->grMeres->currentRow(), 4);
        w->ShowPoint(0, 3);
        QVERIFY(w->grMeres->selectedItems().isEmpty());
        QCOMPARE(w->Image1->image().pixelColor(40, 40), QColor(240, 96, 0));
        w->ShowPoint(1, 0);
        QVERIFY(w->grMeres->selectedItems().isEmpty());
        w->SetCell(2, 0, "77");
        w->SetCell(1, 13, "77");
        QCOMPARE(w->Cell(2, 0), QString("Jobb"));
        QVERIFY(w->Cell(1, 13).isEmpty());
        w->ShowPoint(-1, 0);
        w->ShowPoint(24, 0);
        QCOMPARE(w->Image1->image().size(), QSize(480, 320));
    }

    void valueCellsTakeAnyText()
    {
        TfrmMeres *w = open();
        w->SetCell(1, 1, "123");
        w->SetCell(2, 12, "");
        w->SetCell(0, 3, "x");
        QCOMPARE(w->Cell(1, 1), QString("123"));
        QCOMPARE(w->Cell(0, 3), QString("Ht"));
        QVERIFY(w->Cell(3, 1).isEmpty());
        QVERIFY(w->Cell(-1, -1).isEmpty());
    }
};

QTEST_MAIN(TestMeresWindow)
#include "test_meres_window.moc"
