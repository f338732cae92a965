// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measure/TfrmMeres.h"
#include "records/ModalScript.h"
#include "records/TfrmFind.h"
#include "records/TfrmKarton.h"
#include "support/ProgramFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <memory>

// The time the cards window takes as now in the card tests.
inline const QDateTime kNow(QDate(2024, 5, 17), QTime(10, 30, 15));

// Answers the search dialog: types the start of a name and takes the first card listed.
inline ModalScript::Step findAndPick(const QString &typed)
{
    return [typed](QWidget *widget) {
        if (widget != frmFind)
            return false;
        // The field keeps the last search; a name is typed afresh.
        frmFind->eFind->clear();
        QTest::keyClicks(frmFind->eFind, typed);
        QTest::keyClick(frmFind->eFind, Qt::Key_Return);
        return true;
    };
}

// A new measurement saved as a sheet: readings of no card yet, which need no question.
inline bool saveMeasurement()
{
    frmMeres->SetOrigin(GridOrigin());
    return frmKarton->SaveMeasurementAsSheet();
}

inline const auto Yes = ModalScript::answer(QMessageBox::Yes);
inline const auto No = ModalScript::answer(QMessageBox::No);
inline const auto Cancel = ModalScript::answer(QMessageBox::Cancel);
inline const auto Ok = ModalScript::answer(QMessageBox::Ok);

// The running program on a database folder of its own, db/ with arc/ in a temporary folder.
class CardsProgram
{
public:
    void start()
    {
        m_dir = std::make_unique<ProgramFolder>();
        m_dir->startProgram();
    }

    // Unsaved edits are dropped: no question holds up the end.
    void stop()
    {
        frmKarton->bSave->setEnabled(false);
        frmMain->close();
        Application::destroyWindows();
    }

    // An empty database folder, the clock at kNow and no card open.
    void reset()
    {
        QDir(db()).removeRecursively();
        QDir().mkpath(db() + "arc");
        frmMain->DBPath = db();
        frmMain->ArcPath = db() + "arc/";
        frmKarton->setClock([] { return kNow; });
        if (frmKarton->isCardOpen()) {
            frmKarton->bSave->setEnabled(false);
            frmKarton->bBezarClick();
        }
    }

    QString path() const { return m_dir->path(); }
    QString filePath(const QString &name) const { return m_dir->filePath(name); }
    QString db() const { return filePath("db/"); }
    QString base(const QString &id) const { return db() + id; }

private:
    std::unique_ptr<ProgramFolder> m_dir;
};
