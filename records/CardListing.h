// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The 50-character list lines of the cards in a folder: name (30), a blank,
// birth date (10), a blank, the id (8).
class CardListing
{
public:
    static constexpr int kNameWidth = 30;
    static constexpr int kBirthWidth = 10;
    static constexpr int kIdColumn = 42;

    static QString line(const QString &name, const QString &birthDate, const QString &fileName);
    static QString idOf(const QString &line);
    // "B*.sza" names with an eight-character id; longer or shorter names would
    // give an id that names another card or none.
    static QStringList cardFiles(const QString &folder);
    // The lines of every card in the folder, in list order.
    static QStringList lines(const QString &folder);
    static void sort(QStringList &lines);
    // Incremental search: the first line whose folded beginning is not less than the
    // folded text, -1 when there is none.
    static int findLine(const QStringList &lines, const QString &typed);
};
