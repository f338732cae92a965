// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/BarScale.h"

#include "diagrams/Evaluation.h"

QString BarScale::barLabel(int bar)
{
    return QString::fromLatin1(Evaluation::MeridianCodes[bar / 2]) +
           (bar % 2 == 0 ? QStringLiteral("-L") : QStringLiteral("-R"));
}
