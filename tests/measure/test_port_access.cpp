// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/PortAccess.h"

#include <QtTest>

class TestPortAccess : public QObject
{
    Q_OBJECT

private slots:
    void theHintNamesTheRealCause_data()
    {
        QTest::addColumn<unsigned>("mode");
        QTest::addColumn<unsigned>("owner");
        QTest::addColumn<QList<unsigned>>("session");
        QTest::addColumn<QList<unsigned>>("account");
        QTest::addColumn<QString>("hint");
        const QList<unsigned> none;
        const QList<unsigned> dialout{20};
        QTest::newRow("not in the group")
            << 0660u << 0u << none << none << "PortNotInGroup /dev/ttyUSB0 anna dialout";
        QTest::newRow("joined after logging in")
            << 0660u << 0u << none << dialout << "PortLogInAgain /dev/ttyUSB0 dialout";
        QTest::newRow("root's alone, member of the group")
            << 0600u << 0u << dialout << dialout << "PortOwnerOnly /dev/ttyUSB0 root 0600";
        QTest::newRow("group may only read")
            << 0640u << 0u << none << none << "PortOwnerOnly /dev/ttyUSB0 root 0640";
        QTest::newRow("member, and still refused")
            << 0660u << 0u << dialout << dialout << "PortRefused /dev/ttyUSB0 root dialout 0660";
        QTest::newRow("open to all")
            << 0666u << 0u << none << none << "PortRefused /dev/ttyUSB0 root dialout 0666";
        QTest::newRow("own port without rights")
            << 0060u << 1000u << none << none << "PortRefused /dev/ttyUSB0 anna dialout 0060";
    }

    void theHintNamesTheRealCause()
    {
        QFETCH(unsigned, mode);
        QFETCH(unsigned, owner);
        QFETCH(QList<unsigned>, session);
        QFETCH(QList<unsigned>, account);
        QFETCH(QString, hint);
        PortAccess::Facts facts;
        facts.port = "/dev/ttyUSB0";
        facts.ownerId = owner;
        facts.owner = owner == 0 ? "root" : "anna";
        facts.groupId = 20;
        facts.group = "dialout";
        facts.mode = mode;
        facts.userId = 1000;
        facts.user = "anna";
        facts.sessionGroups = session + QList<unsigned>{1000};
        facts.accountGroups = account + QList<unsigned>{1000};
        QCOMPARE(PortAccess::hint(facts, [](const QString &key) { return key + " %1 %2 %3 %4"; })
                     .trimmed()
                     .remove(QRegularExpression(" %\\d")),
                 hint);
    }

    void theFactsOfARealPortAreGathered()
    {
        PortAccess::Facts facts;
        QVERIFY(!PortAccess::gather("/dev/no-such-port", facts));
        QVERIFY(PortAccess::gather("/dev/null", facts));
        QCOMPARE(facts.owner, QString("root"));
        QCOMPARE(facts.mode, 0666u);
    }
};

QTEST_GUILESS_MAIN(TestPortAccess)
#include "test_port_access.moc"
