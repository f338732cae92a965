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
        const QList<unsigned> none{1000}, dialout{1000, 20};
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
        const PortAccess::Facts facts{
            "/dev/ttyUSB0", owner,  owner == 0 ? "root" : "anna", 20, "dialout", mode, 1000, "anna",
            session,        account};
        QCOMPARE(PortAccess::hint(facts, [](const QString &key) { return key + " %1 %2 %3 %4"; })
                     .remove(QRegularExpression(" %\\d")),
                 hint);
    }
};

QTEST_GUILESS_MAIN(TestPortAccess)
#include "test_port_access.moc"
