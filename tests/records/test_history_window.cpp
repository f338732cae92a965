// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardHistory.h"
#include "records/TfrmDeleted.h"
#include "records/TfrmHistory.h"
#include "support/CardsProgram.h"
#include "support/FileBytes.h"

#include <QLabel>
#include <QTreeWidget>

namespace {

QTreeWidgetItem *lineSaying(QTreeWidget *list, const QString &what)
{
    const QList<QTreeWidgetItem *> found = list->findItems(what, Qt::MatchExactly, 3);
    return found.isEmpty() ? nullptr : found.first();
}

// A step that acts on a window once it is the modal one in front; a message nobody expected
// (a failure) is closed on the way, so that a failing test ends.
ModalScript::Step in(QWidget *window, std::function<void()> act)
{
    return [window, act](QWidget *widget) {
        if (auto *box = qobject_cast<QMessageBox *>(widget)) {
            qWarning() << "unexpected:" << box->text();
            box->reject();
        }
        if (widget != window)
            return false;
        act();
        return true;
    };
}

// A click that opens a question of its own comes after the step, which the script must see end.
void later(QPushButton *button)
{
    QTimer::singleShot(0, button, &QPushButton::click);
}

} // namespace

// The history window and the deleted cards in the running program.
class TestHistoryWindow : public QObject
{
    Q_OBJECT

    CardsProgram m_program;

    QList<HistoryEntry> log(const QString &id) const
    {
        return CardHistory(m_program.db(), id).entries();
    }

    // Saved once as "Kis Anna", then renamed: two versions of the personal data.
    QString renamedCard()
    {
        frmKarton->bUjbeteg->click();
        frmKarton->eNev->setText("Kis Anna");
        frmKarton->bSave->click();
        frmKarton->eNev->setText("Nagy Anna");
        frmKarton->bSave->click();
        return frmKarton->eID->text();
    }

private slots:
    void initTestCase() { m_program.start(); }
    void cleanupTestCase() { m_program.stop(); }
    void init()
    {
        m_program.reset();
        frmMain->setNamesHidden(false);
    }

    void aVersionIsPutBackUnlessTheCardChangedElsewhere_data()
    {
        QTest::addColumn<QByteArray>("elsewhere");
        QTest::addColumn<QString>("nameAfter");
        QTest::addColumn<int>("linesAdded");
        QTest::addColumn<QString>("says");
        QTest::newRow("put back and logged") << QByteArray() << "Kis Anna" << 1
                                             << QString::fromUtf8("Visszaállítva: Személyi adatok");
        // Another workstation saves the card meanwhile.
        QTest::newRow("changed elsewhere")
            << QByteArray("[SzemelyiAdatok]\r\nNev=Mas Nev\r\n") << "Mas Nev" << 0
            << QString::fromUtf8("A karton közben egy másik munkaállomáson megvált");
    }

    void aVersionIsPutBackUnlessTheCardChangedElsewhere()
    {
        QFETCH(QByteArray, elsewhere);
        QFETCH(QString, nameAfter);
        QFETCH(int, linesAdded);
        QFETCH(QString, says);
        QVERIFY(!frmKarton->bHistory->isEnabled());
        const QString id = renamedCard();
        QVERIFY(frmKarton->bHistory->isEnabled());
        if (!elsewhere.isEmpty())
            QVERIFY(writeFile(m_program.base(id) + ".sza", elsewhere));
        const int logged = log(id).size();
        QString shownBefore;
        QString newest;
        // Nothing is asserted inside a step: a failing step would leave the window open.
        QList<ModalScript::Step> steps{in(frmHistory,
                                          [&] {
                                              QTreeWidgetItem *line =
                                                  lineSaying(frmHistory->List,
                                                             QString::fromUtf8("Személyi adatok"));
                                              if (!line) {
                                                  frmHistory->bClose->click();
                                                  return;
                                              }
                                              frmHistory->List->setCurrentItem(line);
                                              shownBefore = frmHistory->ePersonal[0]->text();
                                              later(frmHistory->bPutBack);
                                          }),
                                       Yes};
        if (!elsewhere.isEmpty())
            steps << Ok;
        steps << in(frmHistory, [&] {
            newest = frmHistory->List->topLevelItem(0)->text(3);
            frmHistory->bClose->click();
        });
        ModalScript script(steps);
        frmKarton->bHistory->click();
        QCOMPARE(script.remaining(), 0);
        QCOMPARE(shownBefore, QString("Kis Anna"));
        QCOMPARE(frmKarton->eNev->text(), nameAfter);
        QVERIFY(!frmKarton->bSave->isEnabled());
        QCOMPARE(log(id).size(), logged + linesAdded);
        if (elsewhere.isEmpty()) {
            QCOMPARE(newest, says);
        } else {
            QCOMPARE(script.texts().value(1).left(says.size()), says);
            QCOMPARE(readFile(m_program.base(id) + ".sza"), elsewhere);
        }
    }

    void namesStayHiddenInTheHistoryAndAmongDeletedCards()
    {
        const QString id = renamedCard();
        frmMain->setNamesHidden(true);
        QString caption;
        QString shownName;
        ModalScript history({in(frmHistory, [&] {
            frmHistory->List->setCurrentItem(
                lineSaying(frmHistory->List, QString::fromUtf8("Személyi adatok")));
            caption = frmHistory->stCard->text();
            shownName = frmHistory->ePersonal[0]->text();
            frmHistory->bClose->click();
        })});
        frmKarton->bHistory->click();
        QVERIFY(!caption.contains("Anna"));
        QCOMPARE(shownName, QString("K. A."));

        ModalScript deleted({Yes,
                             in(frmDeleted,
                                [&] {
                                    caption = frmDeleted->List->topLevelItem(0)->text(0);
                                    later(frmDeleted->bBringBack);
                                }),
                             Yes, Ok, in(frmDeleted, [] { frmDeleted->bClose->click(); })});
        frmKarton->bTorol->click();
        QVERIFY(!QFile::exists(m_program.base(id) + ".sza"));
        frmDeleted->exec();
        QCOMPARE(caption, QString("N. A."));
        QCOMPARE(deleted.texts().last(),
                 QString::fromUtf8("A karton visszakerült a régi azonosítójával: ") + id);
        QVERIFY(QFile::exists(m_program.base(id) + ".sza"));
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "test_history_window.moc"
