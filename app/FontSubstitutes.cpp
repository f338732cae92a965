// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontSubstitutes.h"

#include <QFont>
#include <QStringList>

void FontSubstitutes::install()
{
    const QList<QPair<QString, QStringList>> table = {
        {QStringLiteral("Verdana"),
         {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Comic Sans MS"),
         {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Courier New"),
         {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}},
        {QStringLiteral("MS Sans Serif"),
         {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Arial Rounded MT Bold"),
         {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}},
    };
    for (const auto &entry : table)
        QFont::insertSubstitutions(entry.first, entry.second);
}
