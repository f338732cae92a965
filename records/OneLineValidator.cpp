// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/OneLineValidator.h"

#include "records/CardFile.h"

QValidator::State OneLineValidator::validate(QString &input, int &pos) const
{
    const QString line = CardFile::oneLine(input);
    pos = int(std::min(CardFile::oneLine(input.left(pos)).size(), line.size()));
    input = line;
    return Acceptable;
}
