// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cp1250.h"

#include <QtTest>

class TestCp1250 : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        const QString text = Cp1250::toUnicode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Cp1250::fromUnicode(text), all);
    }

    void hungarianLettersMapToTheirCodePoints()
    {
        const QString letters = QString::fromUtf8("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");
        QCOMPARE(
            Cp1250::fromUnicode(letters),
            QByteArray("\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB"));
        QCOMPARE(Cp1250::toChar(0x80), QChar(0x20AC));
    }

    void undefinedBytesUsePrivateCodePointsAndForeignCharactersBecomeQuestionMarks()
    {
        QCOMPARE(Cp1250::toChar(0x81).unicode(), char16_t(0xF781));
        QCOMPARE(Cp1250::fromUnicode(QString::fromUtf8("日")), QByteArray("?"));
    }
};

QTEST_GUILESS_MAIN(TestCp1250)
#include "test_cp1250.moc"
