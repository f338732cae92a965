// SPDX-License-Identifier: GPL-3.0-or-later
// One workstation changing one card again and again, for the history test:
//   history_driver <folder/> <id> <tag> <rounds>
// Each round writes the telephone field "<tag><round>" and appends a sheet noted so.
#include "records/CardFile.h"
#include "records/CardSession.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    CardSession session(args[1], args[1] + QStringLiteral("arc/"));
    const int tel = int(CardFile::keys().indexOf(QStringLiteral("Tel")));
    for (int round = 0; round < args[4].toInt(); ++round) {
        const QString tag = args[3] + QString::number(round);
        CardSession::Outcome saved = CardSession::Outcome::InUse;
        while (saved == CardSession::Outcome::InUse ||
               saved == CardSession::Outcome::ChangedElsewhere) {
            CardContent content;
            session.open(args[2], content);
            content.personal[tel] = tag;
            saved = session.save(content);
        }
        KLRecord sheet;
        sheet.Egyeb = tag;
        CardSession::Outcome added = CardSession::Outcome::InUse;
        while (added == CardSession::Outcome::InUse)
            added = session.appendSheet(sheet);
        if (saved != CardSession::Outcome::Done || added != CardSession::Outcome::Done)
            return 1;
    }
    return 0;
}
