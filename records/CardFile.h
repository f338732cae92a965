// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The files of one card, named after its id: .sza (personal data, ini text),
// .anm and .pan (CR LF text), all Windows-1250, and their backups after deletion.
// A file that is there but cannot be read shows as empty and is never written over.
class CardFile
{
public:
    struct Contents
    {
        QStringList personal;
        QString anamnesis;
        QString complaints;
        // The first of the card's files, sheets included, that is there but cannot be read.
        QString damaged;
    };

    static const QString &section();
    // The seventeen keys of the .sza file in the order they are written.
    static const QStringList &keys();

    // The card whose files are named base + extension.
    static Contents read(const QString &base);
    // Missing file or key reads as an empty value.
    static QStringList readPersonal(const QString &path);
    // The values of a .sza file's bytes held in memory, such as a kept version.
    static QStringList personalFromBytes(const QByteArray &bytes);
    // A value cut at the profile limit when read is not written back cut. Line breaks
    // in a value become blanks, so that no value can start a key or a section.
    static bool writePersonal(const QString &path, const QStringList &values);

    // A missing file gives an empty text; false only when it exists but cannot be read.
    // Line breaks are "\n" in memory and CR LF in the file; CR alone is read as one too.
    static bool readMemo(const QString &path, QString &text);
    static bool writeMemo(const QString &path, const QString &text);

    // Renames base + .sza/.anm/.pan/.kl to their backup names, each replacing an
    // older backup; a missing file is left alone.
    static void moveToBackups(const QString &base);

    // CR LF, CR and LF each become one blank.
    static QString oneLine(const QString &text);
    static QString toFileText(const QString &memoText);
    static QString toMemoText(const QString &fileText);
};
