#include "app/Catalogue.h"
#include "support/TempFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestCatalogue : public QObject
{
    Q_OBJECT

    TempFiles m_files;

    QString write(const QByteArray &bytes) { return m_files.write("tavimer.dat", bytes); }

private slots:
    void everyHashBecomesACarriageReturn()
    {
        const Catalogue catalogue(write("[Msg]\nAskExit=Really#exit#now?\n"));
        QCOMPARE(catalogue.text("Msg", "AskExit"), QString("Really\rexit\rnow?"));
    }

    void missingFileSectionOrKeyGivesTheKeyItself()
    {
        const Catalogue none(m_files.path("absent.dat"));
        QCOMPARE(none.text("Title", "PatSearch"), QString("PatSearch"));
        QCOMPARE(none.text("Msg", "A#B"), QString("A\rB"));
        const Catalogue some(write("[Title]\nCards=Kartonok\n"));
        QCOMPARE(some.text("Title", "Meas"), QString("Meas"));
        QCOMPARE(some.text("Caption", "Cards"), QString("Cards"));
    }

    void sectionNamesInCapitalsAreFoundEitherWay()
    {
        const Catalogue catalogue(write("[MSG]\nRelease=Lift\n"));
        QCOMPARE(catalogue.text("Msg", "Release"), QString("Lift"));
        QCOMPARE(catalogue.text("msg", "release"), QString("Lift"));
    }

    void longValuesAreCutTo2047()
    {
        const Catalogue catalogue(write("[Msg]\nLong=" + QByteArray(3000, 'a') + "\n"));
        QCOMPARE(catalogue.text("Msg", "Long").size(), 2047);
    }

    void pointMapReadsRawWithoutTheHashRule()
    {
        const Catalogue catalogue(write("[MP]\nX1=0x10\nY1=abc\nLBL1=Bal #1\n"));
        QCOMPARE(catalogue.rawInteger("MP", "X1"), 16);
        QCOMPARE(catalogue.rawInteger("MP", "Y1"), 0);
        QCOMPARE(catalogue.rawInteger("MP", "X2"), 0);
        QCOMPARE(catalogue.rawString("MP", "LBL1"), QString("Bal #1"));
        QCOMPARE(catalogue.rawString("MP", "LBL2"), QString());
    }

    void shippedCataloguesHoldEveryKeyInBothLanguages()
    {
        const QString source = qEnvironmentVariable("TAVIMER_SOURCE_DIR");
        const QStringList titles = {"Cards",     "Meas",      "DiagBar",
                                    "DiagCirc",  "DiagUSin",  "DiagHusbWife",
                                    "DiagCirc1", "DiagCirc2", QString::fromUtf8("Nyomtatás"),
                                    "Exit",      "Arc",       "PatSearch"};
        const QStringList captions = {"Act",  "Arc",   "BtnArc", "BtnAct", "Close", "Prev",
                                      "Next", "Start", "Save",   "Left",   "Right"};
        const QStringList messages = {"DBPathNotExists", "AskExit",  "AskDelPat",
                                      "SaveErrK",        "OpenErrK", "CopyErr",
                                      "CommOK",          "CommErr",  "Release"};
        for (const QString &name : {QString("tavimer.dat"), QString("tavimer-en.dat")}) {
            const Catalogue catalogue(source + "/assets/" + name);
            const QList<QPair<QString, QStringList>> sections = {
                {"Title", titles}, {"Caption", captions}, {"Msg", messages}};
            for (const auto &section : sections) {
                for (const QString &key : section.second)
                    QVERIFY2(!catalogue.rawString(section.first, key).isEmpty(),
                             qPrintable(name + ": " + section.first + "/" + key));
            }
            QVERIFY(catalogue.text("Msg", "DBPathNotExists").contains("%s"));
        }
        QCOMPARE(Catalogue(source + "/assets/tavimer.dat").text("Title", "Meas"),
                 QString::fromUtf8("Mérés"));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
