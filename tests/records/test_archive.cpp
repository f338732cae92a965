// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/TfrmMain.h"
#include "platform/Cp1250.h"
#include "platform/FileCopy.h"
#include "records/CardArchive.h"
#include "records/CardListing.h"
#include "records/ModalScript.h"
#include "records/PatientId.h"
#include "records/TfrmArc.h"
#include "support/FailingSource.h"
#include "support/FileBytes.h"
#include "support/ProgramFolder.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QStringList ids(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << CardListing::idOf(list->item(i)->text());
    return result;
}

void checkLine(QListWidget *list, int row)
{
    list->item(row)->setCheckState(Qt::Checked);
}

struct Start
{
    QString program;
    QStringList arguments;
    QString folder;
    bool markerGone;
};

} // namespace

// The archive window in the running program, on a database folder of its own.
class TestArchive : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProgramFolder> m_dir;
    QList<Start> m_starts;

    QString db() const { return m_dir->filePath("db/"); }
    QString arc() const { return db() + "arc/"; }

    void card(const QString &folder, const QString &id, const QString &name)
    {
        QVERIFY(writeFile(folder + id + ".sza",
                          Cp1250::fromUnicode("[SzemelyiAdatok]\r\nNev=" + name + "\r\n")));
    }

    // Site commands are recorded, not run.
    void recordStarts()
    {
        CardArchive::setLauncher(
            [this](const QString &program, const QStringList &arguments, const QString &folder) {
                m_starts.append({program, arguments, folder, !QFile::exists(folder + "lista.sem")});
                return true;
            });
    }

    // Both stages of the listing, without waiting for the timers.
    void list()
    {
        frmArc->tmrShowTimer();
        frmArc->tmrArcTimer();
    }

private slots:
    void initTestCase()
    {
        m_dir = std::make_unique<ProgramFolder>();
        m_dir->startProgram();
        CardArchive::setLauncher(
            [this](const QString &program, const QStringList &arguments, const QString &folder) {
                m_starts.append({program, arguments, folder, !QFile::exists(folder + "lista.sem")});
                return true;
            });
    }

    void cleanupTestCase()
    {
        CardArchive::setLauncher(nullptr);
        frmMain->close();
        Application::destroyWindows();
    }

    void init()
    {
        QDir(db()).removeRecursively();
        QDir().mkpath(db());
        frmMain->DBPath = db();
        frmMain->ArcPath = arc();
        m_starts.clear();
    }

    void captionsComeFromTheCatalogue()
    {
        QCOMPARE(frmArc->windowTitle(), QString::fromUtf8("Archívum"));
        QCOMPARE(frmArc->lblAct->text(), QString::fromUtf8("Aktív kartonok"));
        QCOMPARE(frmArc->bArc->text(), QString::fromUtf8("Archiválás >>"));
        QCOMPARE(frmArc->bClose->text(), QString::fromUtf8("Bezárás"));
        QCOMPARE(frmArc->size(), QSize(469, 429));
        QCOMPARE(frmArc->Active->font().family(), QString("Courier New"));
    }

    void showingListsBothFoldersAndCreatesTheArchive()
    {
        card(db(), "BXEQ0002", "Zoltan");
        card(db(), "BXEQ0001", QString::fromUtf8("Ödön"));
        QVERIFY(!QDir(arc()).exists());
        ModalScript script({[](QWidget *widget) {
            if (widget != frmArc || frmArc->Active->count() == 0 || frmArc->tmrArc->isActive())
                return false;
            frmArc->bClose->click();
            return true;
        }});
        QCOMPARE(frmArc->exec(), int(QDialog::Rejected));
        QVERIFY(QDir(arc()).exists());
        QCOMPARE(ids(frmArc->Active), (QStringList{"BXEQ0001", "BXEQ0002"}));
        QCOMPARE(frmArc->Archive->count(), 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void checkedCardsMoveWithTheirBackupsAndNeverReplaceAFileOfTheirId()
    {
        QDir().mkpath(arc());
        card(db(), "BXEQ0001", "A");
        card(db(), "BXEQ0002", "B");
        card(db(), "BXEQ0003", "C");
        for (const char *ext : {".anm", ".kl", ".~kl", ".kl$"})
            QVERIFY(writeFile(db() + "BXEQ0001" + ext, QByteArray("new") + ext));
        QVERIFY(writeFile(arc() + "BXEQ0001.anm", "older"));
        QVERIFY(writeFile(db() + "BXEQ00011.txt", "another id"));
        const QString taken = QString::fromUtf8(
            "Ilyen azonosítójú karton már van a másik mappában, ezért a karton a helyén maradt: "
            "BXEQ0001");
        list();
        checkLine(frmArc->Active, 0);
        checkLine(frmArc->Active, 2);
        ModalScript script(
            {ModalScript::answer(QMessageBox::Ok), ModalScript::answer(QMessageBox::Ok)});
        frmArc->bArc->click();
        list();
        QCOMPARE(ids(frmArc->Active), (QStringList{"BXEQ0001", "BXEQ0002"}));
        QCOMPARE(readFile(arc() + "BXEQ0001.anm"), QByteArray("older"));

        QFile::remove(arc() + "BXEQ0001.anm");
        checkLine(frmArc->Active, 0);
        frmArc->bArc->click();
        list();
        QCOMPARE(ids(frmArc->Archive), (QStringList{"BXEQ0001", "BXEQ0003"}));
        QCOMPARE(readFile(arc() + "BXEQ0001.kl$"), QByteArray("new.kl$"));
        QVERIFY(QFile::exists(arc() + "BXEQ0001.~kl"));
        QCOMPARE(QDir(db()).entryList({"BXEQ0001*"}, QDir::Files), QStringList{"BXEQ00011.txt"});
        QCOMPARE(PatientId::NewPatientId(QDate(2024, 5, 17), db(), arc()), QString("BXEQ0004"));

        QVERIFY(writeFile(db() + "BXEQ0001.kl", "stale"));
        frmArc->bAll2->click();
        frmArc->bAkt->click();
        list();
        QCOMPARE(ids(frmArc->Active), (QStringList{"BXEQ0002", "BXEQ0003"}));
        QCOMPARE(ids(frmArc->Archive), QStringList{"BXEQ0001"});
        QCOMPARE(readFile(db() + "BXEQ0001.kl"), QByteArray("stale"));
        QCOMPARE(script.texts(), QStringList({taken, taken}));
    }

    void aCardWhoseNameIsTakenByAFolderStaysAndTheOthersStillMove()
    {
        // A folder where the copy would go: nothing there is replaced.
        QDir().mkpath(arc() + "BXEQ0001.sza/BXEQ0001.sza");
        card(db(), "BXEQ0001", "A");
        card(db(), "BXEQ0002", "B");
        list();
        frmArc->bAll1->click();
        ModalScript script({ModalScript::answer(QMessageBox::Ok)});
        frmArc->bArc->click();
        QCOMPARE(script.texts(),
                 QStringList{QString::fromUtf8("Ilyen azonosítójú karton már van a másik mappában, "
                                               "ezért a karton a helyén maradt: BXEQ0001")});
        QVERIFY(QFile::exists(db() + "BXEQ0001.sza"));
        QVERIFY(QFile::exists(arc() + "BXEQ0002.sza"));
        QVERIFY(!QFile::exists(db() + "BXEQ0002.sza"));
    }

    void aReadErrorWhileCopyingKeepsTheCardWhereItWas()
    {
        QDir().mkpath(arc());
        card(db(), "BXEQ0001", "A");
        QVERIFY(writeFile(db() + "BXEQ0001.anm", "anamnesis"));
        QVERIFY(writeFile(db() + "BXEQ0001.kl", QByteArray(3 * 464, 'k')));
        // The sheet file fails to read after its first sheet.
        FileCopy::setSourceOpener([](const QString &path) -> std::unique_ptr<QIODevice> {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return nullptr;
            const QByteArray bytes = file.readAll();
            const bool sheets = path.endsWith(".kl");
            return std::make_unique<FailingSource>(bytes, sheets ? 464 : bytes.size(), sheets);
        });
        CardArchive::setRenameAcrossFolders(false);
        list();
        checkLine(frmArc->Active, 0);
        ModalScript script({ModalScript::answer(QMessageBox::Ok)});
        frmArc->bArc->click();
        FileCopy::setSourceOpener(nullptr);
        CardArchive::setRenameAcrossFolders(true);
        QCOMPARE(script.texts(),
                 QStringList{QString::fromUtf8("A fájlok áthelyezése nem sikerült: BXEQ0001")});
        QCOMPARE(QDir(db()).entryList(QDir::Files),
                 (QStringList{"BXEQ0001.anm", "BXEQ0001.kl", "BXEQ0001.sza"}));
        QCOMPARE(readFile(db() + "BXEQ0001.kl"), QByteArray(3 * 464, 'k'));
        QCOMPARE(QDir(arc()).entryList(QDir::Files), QStringList());
    }

    void withNothingCheckedOnlyTheSelectedLineMoves()
    {
        card(db(), "BXEQ0001", "A");
        card(db(), "BXEQ0002", "B");
        list();
        frmArc->bArc->click();
        list();
        QCOMPARE(frmArc->Active->count(), 2);
        frmArc->Active->setCurrentRow(1);
        frmArc->bArc->click();
        list();
        QCOMPARE(ids(frmArc->Active), QStringList{"BXEQ0001"});
        QCOMPARE(ids(frmArc->Archive), QStringList{"BXEQ0002"});
    }

    void checkAllAndNoneTouchEveryLine()
    {
        card(db(), "BXEQ0001", "A");
        card(db(), "BXEQ0002", "B");
        list();
        frmArc->bAll1->click();
        QCOMPARE(frmArc->Active->item(1)->checkState(), Qt::Checked);
        frmArc->bNone1->click();
        QCOMPARE(frmArc->Active->item(0)->checkState(), Qt::Unchecked);
        QDir().mkpath(arc());
        card(arc(), "BXEQ0003", "C");
        list();
        frmArc->bAll2->click();
        QCOMPARE(frmArc->Archive->item(0)->checkState(), Qt::Checked);
        QCOMPARE(frmArc->Active->item(0)->checkState(), Qt::Unchecked);
        frmArc->bNone2->click();
        QCOMPARE(frmArc->Archive->item(0)->checkState(), Qt::Unchecked);
    }

    void siteCommandStartsOncePerListingAfterTheMarkerIsGone()
    {
        list();
        QCOMPARE(m_starts.size(), 0);
        QVERIFY(writeFile(arc() + CardArchive::siteCommandName(), "touch ran\n"));
        QVERIFY(writeFile(arc() + "lista.sem", ""));
        card(db(), "BXEQ0001", "A");
        list();
        QCOMPARE(m_starts.size(), 1);
        QCOMPARE(m_starts[0].program, QString("/bin/sh"));
        QCOMPARE(m_starts[0].arguments, QStringList{"lista.sh"});
        QCOMPARE(m_starts[0].folder, arc());
        QVERIFY(m_starts[0].markerGone);
        frmArc->Active->setCurrentRow(0);
        frmArc->bArc->click();
        frmArc->tmrShowTimer();
        QCOMPARE(m_starts.size(), 2);
    }

    void siteCommandRunsDetachedInTheArchiveFolder()
    {
        QDir().mkpath(arc());
        QVERIFY(writeFile(arc() + "lista.sh", "sleep 0.2; touch ran\n"));
        CardArchive::setLauncher(nullptr);
        QVERIFY(CardArchive::runSiteCommand(arc()));
        QVERIFY(!QFile::exists(arc() + "ran"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(arc() + "ran"), 5000);
        recordStarts();
    }
};

QTEST_MAIN(TestArchive)
#include "test_archive.moc"
