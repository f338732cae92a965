// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/KLRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// An earlier version of one of a card's files, as the history window shows it.
struct HistoryVersion
{
    enum class Kind
    {
        None,
        // The seventeen personal values in the key order of the .sza file.
        Personal,
        // The anamnesis or the complaints.
        Text,
        // One sheet, or every sheet of a deleted card's sheet file.
        Sheets,
        // Bytes that are no file of the kind the log names.
        Unreadable,
    };

    Kind kind = Kind::None;
    QStringList personal;
    QString text;
    QList<KLRecord> sheets;

    // `file` is the log's extension: ".sza", ".anm", ".pan" or ".kl".
    static HistoryVersion decode(const QString &file, const QByteArray &bytes);
    // While names are hidden the name, maiden name and mother's name show as initials.
    HistoryVersion withNamesHidden() const;
};
