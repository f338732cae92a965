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
    QDateTime m_lockNow;

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
        // The five-second wait for a card in use passes at once.
        m_lockNow = QDateTime::currentDateTimeUtc();
        frmKarton->setLockClock(
            {[this] { return m_lockNow; }, [this](int ms) { m_lockNow = m_lockNow.addMSecs(ms); }});
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

    void cardLockedElsewhereIsReportedInUseAndNothingChanges()
    {
        const QString id = openedCard("Anna");
        frmKarton->SaveMeasurementAsSheet();
        const QByteArray kl = readFile(base(id) + ".kl");
        CardLock elsewhere(CardLock::pathFor(base(id)));
        QVERIFY(elsewhere.acquire(0));
        const QString inUse = QString::fromUtf8("A kartont (%1) egy másik munkaállomás éppen "
                                                "módosítja.\rSemmi sem változott, próbálja újra!")
                                  .arg(id);
        ModalScript script({Ok, Yes, Ok, Ok});
        frmKarton->SaveMeasurementAsSheet();
        frmKarton->bDeleteKL->click();
        frmKarton->eNev->setText("Anna A");
        frmKarton->bSave->click();
        QCOMPARE(script.texts(), QStringList({inUse,
                                              QString::fromUtf8("Biztosan törölni akarja ezt "
                                                                "a kezelőlapot?"),
                                              inUse, inUse}));
        QCOMPARE(readFile(base(id) + ".kl"), kl);
        QVERIFY(!QFile::exists(base(id) + ".~kl"));
        QCOMPARE(storedName(base(id)), QString("Anna"));
        QVERIFY(frmKarton->bSave->isEnabled());

        elsewhere.release();
        frmKarton->bSave->click();
        QCOMPARE(storedName(base(id)), QString("Anna A"));
        QVERIFY(!QFile::exists(CardLock::pathFor(base(id))));
    }

    void sheetDeletionAfterSheetsChangedElsewhereDeletesNothing()
    {
        const QString id = openedCard("Anna");
        frmKarton->SaveMeasurementAsSheet();
        frmKarton->SaveMeasurementAsSheet();
        KLRecord added;
        added.Egyeb = "elsewhere";
        QVERIFY(SheetFile(base(id) + ".kl").append(added));
        ModalScript script({Yes, Ok});
        frmKarton->bDeleteKL->click();
        QCOMPARE(script.texts().value(1),
                 QString::fromUtf8("A kezelőlapokat egy másik munkaállomáson megváltoztatták.\rA "
                                   "lista frissült, semmi sem törlődött."));
        QCOMPARE(readFile(base(id) + ".kl").size(), 3 * 464);
        QCOMPARE(frmKarton->LapokTabs->count(), 3);
    }
};

QTEST_MAIN(TestKartonShared)
#include "test_karton_shared.moc"
