#include "measure/TfrmMeres.h"

#include "app/TfrmMain.h"
#include "measure/DeviceLink.h"
#include "measure/SystemPorts.h"

#include <QLabel>
#include <QTableWidget>

TfrmMeres *frmMeres = nullptr;

TfrmMeres::TfrmMeres(QWidget *parent) : MdiChild(true, parent)
{
    frmMeres = this;
    setWindowTitle(frmMain->CatalogueText(QStringLiteral("Title"), QStringLiteral("Meas")));
    stValue = new QLabel(QStringLiteral("- - -"), this);
    grMeres = new QTableWidget(13, 3, this);
    for (int row = 0; row < 13; ++row) {
        for (int col = 0; col < 3; ++col)
            grMeres->setItem(row, col, new QTableWidgetItem());
    }
    Link = new DeviceLink(
        [](const QString &key) { return frmMain->CatalogueText(QStringLiteral("Msg"), key); },
        SystemPorts(frmMain->settingsPath()), this);
    connect(Link, &DeviceLink::valueTextChanged, stValue, &QLabel::setText);
    connect(Link, &DeviceLink::statusTextChanged, frmMain, &TfrmMain::setStatusText);
}

void TfrmMeres::DisconnectPort()
{
    Link->DisconnectPort();
}

QString TfrmMeres::Cell(int col, int row) const
{
    return grMeres->item(row, col)->text();
}

void TfrmMeres::SetCell(int col, int row, const QString &text)
{
    grMeres->item(row, col)->setText(text);
}
