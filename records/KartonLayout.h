// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;
class TfrmKarton;

// The fields of the cards window's pages, placed as the practitioners know them.
class KartonLayout
{
public:
    static QWidget *personalPage(TfrmKarton &k);
    static QWidget *sheetPage(TfrmKarton &k);
};
