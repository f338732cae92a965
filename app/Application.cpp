// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/QtTranslations.h"
#include "app/TfrmMain.h"
#include "app/TfrmStart.h"
#include "diagrams/TfrmPrint.h"
#include "records/TfrmArc.h"
#include "records/TfrmFind.h"

#include <QApplication>
#include <QIcon>

namespace {

// Every window and dialog without an icon of its own shows the application's.
QIcon programIcon()
{
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tavimer-%1.png").arg(size), QSize(size, size));
    return icon;
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
