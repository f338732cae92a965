// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Catalogue.h"
#include "app/CatalogueDefaults.h"
#include "support/TempFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString shipped(const QString &name)
{
    return qEnvironmentVariable("TAVIMER_SOURCE_DIR") + "/assets/" + name;
}

// The keys of the catalogue's first edition, which have no entry among the Hungarian defaults.
QList<QPair<QString, QString>> firstKeys()
{
    QList<QPair<QString, QString>> keys;
    for (const char *key : {"Cards", "Meas", "DiagBar", "DiagCirc", "DiagUSin", "DiagHusbWife",
                            "DiagCirc1", "DiagCirc2", "Nyomtatás", "Exit", "Arc", "PatSearch"})
        keys.append({QString("Title"), QString::fromUtf8(key)});
    for (const char *key : {"Act", "Arc", "BtnArc", "BtnAct", "Close", "Prev", "Next", "Start",
                            "Save", "Left", "Right"})
        keys.append({QString("Caption"), QString(key)});
    for (const char *key : {"DBPathNotExists", "AskExit", "AskDelPat", "SaveErrK", "OpenErrK",
                            "CopyErr", "CommOK", "CommErr", "Release"})
        keys.append({QString("Msg"), QString(key)});
    return keys;
}

bool isFirstKey(const QPair<QString, QString> &key)
{
    for (const QPair<QString, QString> &first : firstKeys()) {
        if (first.first.compare(key.first, Qt::CaseInsensitive) == 0 &&
            first.second.compare(key.second, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Every CatalogueText(section, key) or text(section, key) call of the program whose section and
// key are written out as literals, plain or wrapped (QStringLiteral("..."), QLatin1String("...")).
QList<QPair<QString, QString>> keysAskedForInSources()
{
    const QString literal = "(?:[\\w:]+\\s*\\(\\s*)?\"((?:[^\"\\\\]|\\\\.)*)\"\\s*\\)?";
    const QRegularExpression call("(?:\\bCatalogueText|(?:\\.|->)text)\\s*\\(\\s*" + literal +
                                  "\\s*,\\s*" + literal);
    const QDir root(qEnvironmentVariable("TAVIMER_SOURCE_DIR"));
    QList<QPair<QString, QString>> keys;
    QDirIterator files(root.path(), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString top = root.relativeFilePath(path).section('/', 0, 0);
        if (top == "tests" || top.startsWith("build") || top.startsWith('.'))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString source = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch &match : call.globalMatch(source)) {
            const QPair<QString, QString> key = {match.captured(1), match.captured(2)};
            if (!keys.contains(key))
                keys.append(key);
        }
    }
    return keys;
}

} // namespace

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

    void missingFileOrKeyShowsTheProgramsOwnTextOfTheLanguage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray none = "-";
        QTest::newRow("no file, Hungarian") << none << ""
                                            << "Title"
                                            << "PatSearch" << QString::fromUtf8("Beteg keresés");
        QTest::newRow("no file, English") << none << "en"
                                          << "Msg"
                                          << "CommOK"
                                          << "Device connected";
        QTest::newRow("key missing, English") << QByteArray("[Title]\nCards=Kartonok\n") << "en"
                                              << "Title"
                                              << "Meas"
                                              << "Measurement";
        QTest::newRow("damaged file, English") << QByteArray("[Title]\nMeas=M\0\0\n", 17) << "en"
                                               << "Title"
                                               << "Meas"
                                               << "Measurement";
        QTest::newRow("other language: Hungarian") << none << "de"
                                                   << "Title"
                                                   << "Meas" << QString::fromUtf8("Mérés");
        QTest::newRow("a key no catalogue has") << none << "en"
                                                << "Msg"
                                                << "A#B"
                                                << "A\rB";
    }

    void missingFileOrKeyShowsTheProgramsOwnTextOfTheLanguage()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, language);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = file == "-" ? m_files.path("absent.dat") : write(file);
        QCOMPARE(Catalogue(path, language).text(section, key), expected);
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
        QVERIFY(Catalogue(m_files.path("absent.dat")).rawInteger("MP", "X1") > 0);
    }

    void missingKeysShowHungarianWithoutALanguage()
    {
        const Catalogue catalogue(write("[Karton]\nbKeres=&Find\n"));
        QCOMPARE(catalogue.text("Karton", "bKeres"), QString("&Find"));
        QCOMPARE(catalogue.text("karton", "BSAVE"), QString::fromUtf8("&Mentés"));
        QCOMPARE(catalogue.text("Msg", "NoCard"), QString::fromUtf8("Nincs karton!"));
        QCOMPARE(catalogue.text("Msg", "AskExit"),
                 QString::fromUtf8("Biztosan kilép a programból?"));
        QCOMPARE(catalogue.text("Karton", "NoSuchKey"), QString("NoSuchKey"));
    }

    void shippedCataloguesHoldEveryKeyInBothLanguages()
    {
        for (const QString &name : {QString("tavimer.dat"), QString("tavimer-en.dat")}) {
            const Catalogue catalogue(shipped(name));
            for (const QPair<QString, QString> &key : firstKeys())
                QVERIFY2(!catalogue.rawString(key.first, key.second).isEmpty(),
                         qPrintable(name + ": " + key.first + "/" + key.second));
            QVERIFY(catalogue.text("Msg", "DBPathNotExists").contains("%s"));
        }
        QCOMPARE(Catalogue(shipped("tavimer.dat")).text("Title", "Meas"),
                 QString::fromUtf8("Mérés"));
        // The picture diagrams' element word, with its double acute accent.
        QCOMPARE(Catalogue(shipped("tavimer.dat")).text("Pictures", "Fire"),
                 QString::fromUtf8("tűz"));
    }

    // A text added to the program without its catalogue entries fails here.
    void everyKeyTheProgramAsksForIsInBothShippedCataloguesAndHasAHungarianDefault()
    {
        const QList<QPair<QString, QString>> asked = keysAskedForInSources();
        QVERIFY(asked.contains({"Karton", "bUjbeteg"}));
        const Catalogue hungarian(shipped("tavimer.dat"));
        const Catalogue english(shipped("tavimer-en.dat"));
        for (const QPair<QString, QString> &key : asked + catalogueDefaultKeys()) {
            const QString name = key.first + "/" + key.second;
            QVERIFY2(!hungarian.rawString(key.first, key.second).isEmpty(), qPrintable(name));
            QVERIFY2(!english.rawString(key.first, key.second).isEmpty(), qPrintable(name));
            QVERIFY2(isFirstKey(key) || !catalogueDefault(key.first, key.second).isNull(),
                     qPrintable(name + " has no Hungarian default"));
            if (!isFirstKey(key))
                QCOMPARE(hungarian.text(key.first, key.second),
                         catalogueDefault(key.first, key.second).replace('#', '\r'));
            QVERIFY2(!english.rawString(key.first, key.second)
                          .contains(QRegularExpression(QString::fromUtf8("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"))),
                     qPrintable(name + " is not translated"));
        }
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
