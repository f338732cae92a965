// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardQuestions.h"

#include "app/Dialogs.h"
#include "app/SupportLog.h"
#include "app/TfrmMain.h"
#include "platform/FileError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QPushButton>

namespace {
QString msg(const char *key)
{
    return frmMain->CatalogueText(QStringLiteral("Msg"), QLatin1String(key));
}

// For the support log, which is read by whoever helps, in any language.
const char *outcomeName(CardSession::Outcome outcome)
{
    switch (outcome) {
    case CardSession::Outcome::Done:
        return "done";
    case CardSession::Outcome::ChangedElsewhere:
        return "refused, changed on another workstation";
    case CardSession::Outcome::SheetsChanged:
        return "refused, sheets changed on another workstation";
    case CardSession::Outcome::InUse:
        return "refused, in use";
    case CardSession::Outcome::Archived:
        return "refused, moved to the archive elsewhere";
    case CardSession::Outcome::Gone:
        return "refused, deleted elsewhere";
    case CardSession::Outcome::Damaged:
        return "refused, damaged sheet file";
    case CardSession::Outcome::Unstorable:
        return "refused, characters Windows-1250 cannot hold";
    case CardSession::Outcome::Failed:
        return "failed";
    case CardSession::Outcome::NoIdLeft:
        return "failed, no id left";
    case CardSession::Outcome::TargetTaken:
        return "refused, id taken in the other folder";
    case CardSession::Outcome::NotRegularFile:
        return "refused, not a regular file";
    case CardSession::Outcome::Unfinished:
        return "refused, being created elsewhere";
    }
    return "?";
}
} // namespace

CardSession::Outcome CardQuestions::run(const std::function<CardSession::Outcome()> &operation)
{
    FileError::clear();
    for (;;) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const CardSession::Outcome outcome = operation();
        QApplication::restoreOverrideCursor();
        if (outcome != CardSession::Outcome::InUse)
            return outcome;
        SupportLog::write(QStringLiteral("card %1: refused, in use by %2 since %3")
                              .arg(m_session.id(), m_session.holder().host,
                                   m_session.holder().since.toString(Qt::ISODate)));
        if (!askTakeOver())
            return outcome;
        if (!m_session.takeOverLock()) {
            SupportLog::write(QStringLiteral("card %1: take-over failed").arg(m_session.id()));
            Dialogs::error(m_parent, msg("CardInUse").replace(QLatin1String("%s"), m_session.id()));
            return CardSession::Outcome::InUse;
        }
    }
}

bool CardQuestions::askTakeOver()
{
    const CardLock::Holder holder = m_session.holder();
    const QString since = QLocale::system().toString(holder.since, QLocale::ShortFormat);
    return Dialogs::askYesNo(m_parent, msg("LockHeld")
                                           .replace(QLatin1String("%1"), m_session.id())
                                           .replace(QLatin1String("%2"), holder.host)
                                           .replace(QLatin1String("%3"), since));
}

bool CardQuestions::report(CardSession::Outcome outcome, const QString &failure)
{
    QString text;
    switch (outcome) {
    case CardSession::Outcome::Done:
        return true;
    case CardSession::Outcome::InUse:
        // The take-over question has told already.
        return false;
    case CardSession::Outcome::Archived:
        text = msg("CardArchived").replace(QLatin1String("%s"), m_session.id());
        break;
    case CardSession::Outcome::Split:
        text = msg("CardSplit").replace(QLatin1String("%s"), m_session.failure()) +
               QLatin1Char(' ') + m_session.id();
        break;
    case CardSession::Outcome::Gone:
        text = msg("CardGone").replace(QLatin1String("%s"), m_session.id());
        break;
    case CardSession::Outcome::SheetsChanged:
        text = msg("SheetsChanged");
        break;
    case CardSession::Outcome::Unstorable:
        text = msg("NoCp1250")
                   .replace(QLatin1String("%1"), m_session.unstorable().join(QStringLiteral(", ")));
        break;
    case CardSession::Outcome::Damaged:
        text =
            msg("KLDamaged")
                .replace(QLatin1String("%2"), QString::number(m_session.sheetsBeforeDamage() + 1))
                .replace(QLatin1String("%1"), QFileInfo(m_session.sheetPath()).absoluteFilePath());
        break;
    default:
        text = failure;
        // Which file the folder refused, and the system's reason.
        if (!FileError::last().isEmpty())
            text += QLatin1Char('\r') + FileError::last();
    }
    SupportLog::write(QStringLiteral("card %1: %2: %3")
                          .arg(m_session.id(), QLatin1String(outcomeName(outcome)), text));
    Dialogs::error(m_parent, text);
    return false;
}

QMessageBox::StandardButton CardQuestions::askOutsideChange()
{
    QMessageBox box(QMessageBox::Warning, Dialogs::title(), msg("CardChanged"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.button(QMessageBox::Yes)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Reload")));
    box.button(QMessageBox::No)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Overwrite")));
    box.button(QMessageBox::Cancel)
        ->setText(frmMain->CatalogueText(QStringLiteral("Karton"), QStringLiteral("Cancel")));
    // Reloading and overwriting are no yes and no: the style's icons for those would mislead.
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
