// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;
class TfrmKarton;

// The fields of the cards window's pages, placed as the practitioners know them.
class KartonLayout
{
public:
    // The cards window's buttons, on its left and on the sheet page, are of one size.
    static constexpr int kButtonWidth = 97;
    static constexpr int kButtonHeight = 41;

    // The column of card buttons down the window's left edge.
    static void buttons(TfrmKarton &k);
    static QWidget *personalPage(TfrmKarton &k);
    static QWidget *sheetPage(TfrmKarton &k);
};
