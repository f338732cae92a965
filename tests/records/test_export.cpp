// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardFile.h"
#include "records/CardHistory.h"
#include "records/PatientExport.h"
#include "records/SheetFile.h"
#include "records/SheetsExport.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// The readings of the evaluation's worked example, left side first; St right is missing.
KLRecord workedExample()
{
    KLRecord sheet;
    sheet.Idopont = "2024.05.17 9:30:00";
    sheet.Helyszin = "Győr, \"Fő\" tér";
    sheet.Readings = {80, 70, 60, 75, 90,  100, 50, 45, 65, 70, 55, 60,
                      90, 72, 64, 70, 150, 98,  55, 50, 60, 80, 52, -1};
    return sheet;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString db() const { return m_dir->path() + "/db/"; }

    void plantCard(const QString &folder, const QString &id, const QString &name)
    {
        QStringList personal;
        for (const QString &key : CardFile::keys())
            personal << (key == "Nev" ? name : key == "SzulDatum" ? "1960.05.17" : "");
        personal[CardFile::keys().indexOf("ID")] = id;
        QVERIFY(CardFile::writePersonal(folder + id + ".sza", personal));
        QVERIFY(CardFile::writeMemo(folder + id + ".anm", "Árvíztűrő\ntükörfúrógép"));
        QVERIFY(SheetFile(folder + id + ".kl").append(workedExample()));
        HistoryEntry created;
        created.action = "card-created";
        created.note = "Ősz\tÉva";
        QVERIFY(CardHistory(folder, id).log(created));
    }

    QJsonObject exported(const QString &id)
    {
        QByteArray json;
        const ExportResult result = PatientExport::build(db(), id, json, 0);
        [&] { QVERIFY2(result.ok(), qPrintable(result.detail)); }();
        return QJsonDocument::fromJson(json).object();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(db() + "arc/");
    }

    void recordHoldsReadingsEvaluationAndAccents_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("database") << "";
        QTest::newRow("archive") << "arc/";
    }

    void recordHoldsReadingsEvaluationAndAccents()
    {
        QFETCH(QString, folder);
        plantCard(db() + folder, "BXEQ0001", "Ősz Éva");
        const QJsonObject record = exported("BXEQ0001");
        QCOMPARE(record["folder"].toString(), QString(QTest::currentDataTag()));
        QCOMPARE(record["personal"]["Nev"].toString(), QString("Ősz Éva"));
        QCOMPARE(record["anamnesis"].toString(), QString("Árvíztűrő\ntükörfúrógép"));
        const QJsonObject sheet = record["sheets"][0].toObject();
        QCOMPARE(sheet["place"].toString(), QString("Győr, \"Fő\" tér"));
        const QJsonArray readings = sheet["readings"].toArray();
        QCOMPARE(readings.size(), 24);
        QCOMPARE(readings[16]["meridian"].toString() + readings[16]["side"].toString(),
                 QString("Thright"));
        QCOMPARE(readings[16]["value"].toInt(), 150);
        QVERIFY(readings[23]["value"].isNull());
        const QJsonObject evaluation = sheet["evaluation"].toObject();
        QCOMPARE(evaluation["mean"].toInt(), 69);
        QCOMPARE(qRound(evaluation["deviations"][16].toDouble() * 100), 2132);
        QCOMPARE(qRound(evaluation["deviations"][6].toDouble() * 100), -1216);
        QCOMPARE(evaluation["classes"][16].toString(), QString("red"));
        QCOMPARE(evaluation["classes"][6].toString(), QString("light blue"));
        QVERIFY(evaluation["deviations"][23].isNull() && evaluation["classes"][23].isNull());
        const QJsonObject logged = record["changeLog"][0].toObject();
        QCOMPARE(logged["action"].toString() + logged["note"].toString(),
                 QString("card-createdŐsz\tÉva"));
        QVERIFY(!logged["workstation"].toString().isEmpty());
    }

    void failuresNameTheFileAndTheReason_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("says");
        using P = ExportResult::Problem;
        QTest::newRow("no such card") << "BXEQ0009"
                                      << "out.json" << int(P::NoCard) << "BXEQ0009";
        QTest::newRow("no id but a path") << "../../x"
                                          << "out.json" << int(P::NoCard) << "../../x";
        QTest::newRow("target exists")
            << "BXEQ0001"
            << "db/BXEQ0001.sza" << int(P::TargetExists) << "/db/BXEQ0001.sza";
        QTest::newRow("folder missing")
            << "BXEQ0001"
            << "none/out.json" << int(P::Unwritable) << "No such file or directory";
        QTest::newRow("under a file")
            << "BXEQ0001"
            << "db/BXEQ0001.anm/out.json" << int(P::Unwritable) << "Not a directory";
        QTest::newRow("damaged sheets")
            << "BXEQ0002"
            << "out.json" << int(P::Unreadable) << "BXEQ0002.kl: damaged after sheet 1";
        QTest::newRow("card in use") << "BXEQ0003"
                                     << "out.json" << int(P::InUse) << "BXEQ0003";
    }

    void failuresNameTheFileAndTheReason()
    {
        QFETCH(QString, id);
        QFETCH(QString, target);
        QFETCH(int, problem);
        QFETCH(QString, says);
        plantCard(db(), "BXEQ0001", "Kiss Anna");
        plantCard(db(), "BXEQ0002", "Nagy Béla");
        QVERIFY(writeFile(db() + "BXEQ0002.kl", readFile(db() + "BXEQ0002.kl") + "cut"));
        plantCard(db(), "BXEQ0003", "Tóth Ede");
        CardLock held(CardLock::pathFor(db() + "BXEQ0003"));
        QVERIFY(held.acquire());
        const QString path = m_dir->filePath(target);
        const ExportResult result = PatientExport::write(db(), id, path, false, 0);
        QCOMPARE(int(result.problem), problem);
        QVERIFY2(result.detail.contains(says), qPrintable(result.detail));
        QVERIFY(!QFile::exists(m_dir->filePath("out.json")));
        // Nothing is left beside the target either.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }

    void sheetsTableListsEveryCardAndPseudonymsStay()
    {
        plantCard(db(), "BXEQ0001", "Kiss, \"Anna\"");
        plantCard(db() + "arc/", "BXEQ0002", "Ősz Éva");
        QByteArray csv;
        QVERIFY(SheetsExport::build(db(), false, csv, 0).ok());
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith("id,name,birth date,sheet,time,place,Lu left,"));
        QVERIFY(lines[1].startsWith("BXEQ0001,\"Kiss, \"\"Anna\"\"\",1960.05.17,1,2024.05.17 "
                                    "9:30:00,\"Győr, \"\"Fő\"\" tér\",80,70,"));
        QVERIFY(lines[1].contains(",52,,69,green,") && lines[1].endsWith(",green,\r"));
        QVERIFY(lines[2].startsWith("BXEQ0002,Ősz Éva,"));

        QByteArray first;
        QVERIFY(SheetsExport::build(db(), true, first, 0).ok());
        const QByteArray key = readFile(SheetsExport::keyPath(db()));
        QByteArray again;
        QVERIFY(SheetsExport::build(db(), true, again, 0).ok());
        QCOMPARE(again, first);
        QCOMPARE(readFile(SheetsExport::keyPath(db())), key);
        const QString pseudonym = SheetsExport::pseudonym(QByteArray::fromHex(key), "BXEQ0001");
        QVERIFY(first.split('\n')[1].startsWith(pseudonym.toUtf8() + ",1960,1,2024.05.17"));
        for (const char *named : {"BXEQ", "Kiss", "Győr", "05.17,"})
            QVERIFY2(!first.contains(named), named);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
