#pragma once

#include <QString>
#include <QStringList>

// The files of one card, named after its id: .sza (personal data, ini text),
// .anm and .pan (CR LF text), all Windows-1250, and their backups after deletion.
class CardFile
{
public:
    static const QString &section();
    // The seventeen keys of the .sza file in the order they are written.
    static const QStringList &keys();

    // Missing file or key reads as an empty value.
    static QStringList readPersonal(const QString &path);
    // A value cut at the profile limit when read is not written back cut. Line breaks
    // in a value become blanks, so that no value can start a key or a section.
    static bool writePersonal(const QString &path, const QStringList &values);

    // A missing file gives an empty text; false only when it exists but cannot be read.
    // Line breaks are "\n" in memory and CR LF in the file.
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
