// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "measure/TfrmMeres.h"
#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/SheetFile.h"
#include "records/SheetTabBar.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"
#include "support/CardsProgram.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// What another workstation writes: the card as it saves it, with another name.
void saveElsewhere(const QString &base, const QString &name)
{
    QStringList values = CardFile::readPersonal(base + ".sza");
    values[0] = name;
    QVERIFY(CardFile::writePersonal(base + ".sza", values));
}

QString storedName(const QString &base)
{
    return CardFile::readPersonal(base + ".sza").first();
}

} // namespace

// The cards window of one workstation while another one works on the same folder.
class TestKartonShared : public QObject
{
    Q_OBJECT

    CardsProgram m_program;

    QString db() const { return m_program.db(); }
    QString base(const QString &id) const { return m_program.base(id); }

    QString openedCard(const QString &name)
    {
        frmKarton->bUjbeteg->click();
        frmKarton->eNev->setText(name);
        frmKarton->bSave->click();
        const QString id = frmKarton->eID->text();
        frmKarton->bBezarClick();
        ModalScript script({findAndPick(name.left(1))});
        frmKarton->bKeres->click();
        return id;
    }

private slots:
    void initTestCase() { m_program.start(); }

    void cleanupTestCase() { m_program.stop(); }

    void init()
    {
        m_program.reset();
        // A card in use is reported at once.
        frmKarton->setLockWait(0);
    }

    void cardSavedElsewhereAsksAndReloadShowsTheOtherSave()
    {
        const QString id = openedCard("Anna");
        saveElsewhere(base(id), "Anna B");
        frmKarton->eNev->setText("Anna A");
        ModalScript script({Yes});
        frmKarton->bSave->click();
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts()[0].startsWith(QString::fromUtf8(
            "A kartont egy másik munkaállomáson megváltoztatták, mióta itt megnyitották.")));
        QCOMPARE(frmKarton->eNev->text(), QString("Anna B"));
        QCOMPARE(frmKarton->PatientName, QString("Anna B"));
        QVERIFY(!frmKarton->bSave->isEnabled());
        QCOMPARE(storedName(base(id)), QString("Anna B"));
    }

    void cancelKeepsTheEditsUnsavedAndSaveOverWritesThem()
    {
        const QString id = openedCard("Anna");
        saveElsewhere(base(id), "Anna B");
        frmKarton->eNev->setText("Anna A");
        ModalScript script({Cancel, No});
        frmKarton->bSave->click();
        QCOMPARE(storedName(base(id)), QString("Anna B"));
        QVERIFY(frmKarton->bSave->isEnabled());
        QCOMPARE(frmKarton->eNev->text(), QString("Anna A"));
        frmKarton->bSave->click();
        QCOMPARE(storedName(base(id)), QString("Anna A"));
        QVERIFY(!frmKarton->bSave->isEnabled());
        // Its own save is no change from elsewhere.
        frmKarton->eNev->setText("Anna C");
        frmKarton->bSave->click();
        QCOMPARE(script.texts().size(), 2);
        QCOMPARE(storedName(base(id)), QString("Anna C"));
    }

    void newCardWhoseIdWasTakenMeanwhileIsSavedUnderTheNextFreeId()
    {
        frmKarton->bUjbeteg->click();
        frmKarton->eNev->setText("Kis Anna");
        QCOMPARE(frmKarton->eID->text(), QString("BXEQ0001"));
        // The other workstation pressed "new card" at the same moment and saved first.
        QStringList other(CardFile::keys().size());
        other[0] = "Nagy Bela";
        other[15] = "BXEQ0001";
        QVERIFY(CardFile::writePersonal(base("BXEQ0001") + ".sza", other));
        ModalScript script({});
        frmKarton->bSave->click();
        QCOMPARE(frmKarton->eID->text(), QString("BXEQ0002"));
        QCOMPARE(CardFile::readPersonal(base("BXEQ0002") + ".sza")[15], QString("BXEQ0002"));
        QCOMPARE(storedName(base("BXEQ0002")), QString("Kis Anna"));
        QCOMPARE(storedName(base("BXEQ0001")), QString("Nagy Bela"));
        QVERIFY(!frmKarton->bSave->isEnabled());
        QVERIFY(script.texts().isEmpty());
    }

    void cardLockedElsewhereAsksToTakeItOverNamingTheWorkstation()
    {
        const QString id = openedCard("Anna");
        saveMeasurement();
        const QByteArray kl = readFile(base(id) + ".kl");
        QVERIFY(writeFile(CardLock::pathFor(base(id)), "4242\ntavimer\nRECEPCIO\n"));
        ModalScript script({No, No});
        saveMeasurement();
        frmKarton->eNev->setText("Anna A");
        frmKarton->bSave->click();
        QCOMPARE(script.texts().size(), 2);
        QVERIFY(script.texts()[0].startsWith(
            QString::fromUtf8("A kartont (%1) a(z) RECEPCIO munkaállomás használja ").arg(id)));
        QCOMPARE(readFile(base(id) + ".kl"), kl);
        QCOMPARE(storedName(base(id)), QString("Anna"));
        QVERIFY(frmKarton->bSave->isEnabled());

        ModalScript takeOver({Yes});
        frmKarton->bSave->click();
        QCOMPARE(storedName(base(id)), QString("Anna A"));
        QVERIFY(!QFile::exists(CardLock::pathFor(base(id))));
    }

    void measurementOntoACardArchivedElsewhereStaysInTheGrid()
    {
        const QString id = openedCard("Anna");
        QVERIFY(QDir().rename(base(id) + ".sza", db() + "arc/" + id + ".sza"));
        frmMeres->SetCell(1, 1, "123");
        ModalScript script({Ok});
        saveMeasurement();
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts()[0].contains(id));
        QVERIFY(!QFile::exists(base(id) + ".kl"));
        QCOMPARE(frmMeres->Cell(1, 1), QString("123"));
    }

    void loadAfterASheetWasDeletedElsewhereRebuildsTheTabsAndLoadsNothing()
    {
        const QString id = openedCard("Anna");
        frmMeres->SetCell(1, 1, "1");
        saveMeasurement();
        frmMeres->SetCell(1, 1, "2");
        saveMeasurement();
        QVERIFY(SheetFile(base(id) + ".kl").removeSheet(0, base(id) + ".kl$"));
        frmMeres->SetCell(1, 1, "9");
        ModalScript script({Ok});
        frmKarton->bLoadKL->click();
        QCOMPARE(script.texts().size(), 1);
        QCOMPARE(frmMeres->Cell(1, 1), QString("9"));
        QCOMPARE(frmKarton->LapokTabs->count(), 1);
    }

    void sheetDeletionAfterSheetsChangedElsewhereDeletesNothing()
    {
        const QString id = openedCard("Anna");
        saveMeasurement();
        saveMeasurement();
        KLRecord added;
        added.Egyeb = "elsewhere";
        QVERIFY(SheetFile(base(id) + ".kl").append(added));
        ModalScript script({Yes, Ok});
        frmKarton->bDeleteKL->click();
        QCOMPARE(script.texts().value(1),
                 QString::fromUtf8("A kezelőlapokat egy másik munkaállomáson megváltoztatták.\rA "
                                   "lista frissült; semmi sem íródott és semmi sem töltődött be."));
        QCOMPARE(readFile(base(id) + ".kl").size(), 3 * 464);
        QCOMPARE(frmKarton->LapokTabs->count(), 3);
    }
};

QTEST_MAIN(TestKartonShared)
#include "test_karton_shared.moc"
