#include "app/Application.h"

#include "app/TfrmMain.h"
#include "app/TfrmStart.h"
#include "diagrams/TfrmPrint.h"
#include "records/TfrmArc.h"
#include "records/TfrmFind.h"

void Application::createWindows(const QString &programPath)
{
    new TfrmMain(programPath);
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
