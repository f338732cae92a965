// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupActions.h"

#include "app/Dialogs.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "records/BackupRestore.h"
#include "records/BackupWriter.h"
#include "records/TfrmKarton.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace {

constexpr int kSteps = 1000;
constexpr int kRefreshMs = 100;

} // namespace

QString BackupActions::text(const QString &key)
{
    return frmMain->CatalogueText(QStringLiteral("Backup"), key);
}

bool BackupActions::backup(QWidget *parent)
{
    const Settings::Backup kept = Settings::loadBackup(frmMain->settingsPath());
    const QString folder =
        QFileDialog::getExistingDirectory(parent, text(QStringLiteral("ChooseFolder")),
                                          kept.folder.isEmpty() ? QDir::homePath() : kept.folder);
    return !folder.isEmpty() && backupInto(parent, folder);
}

bool BackupActions::backupInto(QWidget *parent, const QString &folder)
{
    const QString database = frmMain->DBPath;
    const QDateTime now = QDateTime::currentDateTime();
    const BackupResult result =
        withProgress(parent, text(QStringLiteral("Working")), [=](const BackupProgress &progress) {
            return BackupWriter::write(database, folder, now, progress);
        });
    SupportLog::write(QStringLiteral("backup of %1 into %2: %3")
                          .arg(database, folder,
                               result.messageWithReason(text(result.ok() ? QStringLiteral("Done")
                                                                         : result.messageKey()))));
    if (!result.ok()) {
        Dialogs::error(parent, result.messageWithReason(text(result.messageKey())));
        return false;
    }
    Settings::Backup kept = Settings::loadBackup(frmMain->settingsPath());
    kept.last = now;
    kept.folder = folder;
    Settings::saveBackup(frmMain->settingsPath(), kept);
    QString message = result.message(text(QStringLiteral("Done")));
    if (!result.inUse.isEmpty())
        message += QStringLiteral("\r\r") +
                   text(QStringLiteral("InUse"))
                       .replace(QLatin1String("%s"), result.inUse.join(QStringLiteral(", ")));
    Dialogs::information(parent, message);
    return true;
}

bool BackupActions::restore(QWidget *parent)
{
    const QString zip = QFileDialog::getOpenFileName(
        parent, text(QStringLiteral("ChooseZip")),
        Settings::loadBackup(frmMain->settingsPath()).folder, QStringLiteral("Tavimer (*.zip)"));
    if (zip.isEmpty())
        return false;
    const QString folder = QFileDialog::getExistingDirectory(
        parent, text(QStringLiteral("ChooseTarget")), QFileInfo(zip).absolutePath());
    if (folder.isEmpty())
        return false;
    const BackupResult result = withProgress(
        parent, text(QStringLiteral("Restoring")), [=](const BackupProgress &progress) {
            return BackupRestore::restore(zip, folder, progress);
        });
    SupportLog::write(
        QStringLiteral("restore of %1 into %2: %3")
            .arg(zip, folder,
                 result.messageWithReason(
                     text(result.ok() ? QStringLiteral("Restored") : result.messageKey()))));
    if (!result.ok()) {
        Dialogs::error(parent, result.messageWithReason(text(result.messageKey())));
        return false;
    }
    if (!Dialogs::askYesNo(parent, result.message(text(QStringLiteral("UseRestored")))))
        return false;
    // The open card belongs to the old folder: it is saved or dropped there first.
    if (frmKarton && frmKarton->isCardOpen()) {
        if (!frmKarton->FormCloseQuery())
            return false;
        frmKarton->bBezarClick();
    }
    useAsDatabase(result.path);
    return true;
}

void BackupActions::useAsDatabase(const QString &folder)
{
    frmMain->DBPath = QDir::toNativeSeparators(folder) + ProgramFiles::separator();
    SupportLog::write(QStringLiteral("database folder now ") + frmMain->DBPath);
    frmMain->ArcPath = ProgramFiles::archivePath(frmMain->DBPath);
    QDir().mkpath(frmMain->ArcPath);
}

bool BackupActions::askExit(QWidget *parent)
{
    const Settings::Backup kept = Settings::loadBackup(frmMain->settingsPath());
    const QDateTime now = QDateTime::currentDateTime();
    if (!kept.reminderDue(now) || !BackupWriter::holdsCards(frmMain->DBPath))
        return Dialogs::askYesNo(
            parent, frmMain->CatalogueText(QStringLiteral("Msg"), QStringLiteral("AskExit")));
    const QString question =
        kept.last.isValid()
            ? text(QStringLiteral("AskOld"))
                  .replace(QLatin1String("%s"), QString::number(kept.last.daysTo(now)))
            : text(QStringLiteral("AskNever"));
    switch (Dialogs::askYesNoCancel(parent, question)) {
    case QMessageBox::Yes:
        return kept.folder.isEmpty() || !QFileInfo(kept.folder).isDir()
                   ? backup(parent)
                   : backupInto(parent, kept.folder);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

BackupResult
BackupActions::withProgress(QWidget *parent, const QString &label,
                            const std::function<BackupResult(const BackupProgress &)> &work)
{
    QProgressDialog dialog(label, text(QStringLiteral("Cancel")), 0, kSteps, parent);
    dialog.setWindowTitle(Dialogs::title());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    std::atomic<bool> cancelled{false};
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{1};
    BackupResult result;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        result = work([&](qint64 now, qint64 of) {
            done = now;
            total = std::max<qint64>(1, of);
            return !cancelled;
        });
    }));
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] { cancelled = true; });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout,
                     [&] { dialog.setValue(static_cast<int>(done * kSteps / total)); });
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    dialog.show();
    refresh.start(kRefreshMs);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}
