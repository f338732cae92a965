// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/QtTranslations.h"
#include "app/TfrmMain.h"
#include "app/TfrmStart.h"
#include "diagrams/TfrmPrint.h"
#include "records/TfrmArc.h"
#include "records/TfrmDeleted.h"
#include "records/TfrmFind.h"
#include "records/TfrmHistory.h"

#include <QApplication>
#include <QIcon>

namespace {

// Every window and dialog without an icon of its own shows the application's. One size only:
// each window hands every size to the window manager as it appears, which cost start-up 20 ms
// for the larger ones; desktops take the large icons from the installed theme.
QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icons/tavimer-48.png"));
}

} // namespace

void Application::createWindows(const QString &programPath)
{
    QApplication::setWindowIcon(programIcon());
    new TfrmMain(programPath);
    QtTranslations::install(
        frmMain->CatalogueText(QStringLiteral("Main"), QStringLiteral("Language")));
    new TfrmFind(frmMain);
    new TfrmArc(frmMain);
    new TfrmHistory(frmMain);
    new TfrmDeleted(frmMain);
    new TfrmStart();
    frmStart->show();
    new TfrmPrint();
}

void Application::destroyWindows()
{
    delete frmPrint;
    delete frmStart;
    delete frmMain;
}
