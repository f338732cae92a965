#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Size and modification time of a card's files as this workstation last read or wrote
// them, to notice that another workstation has written the card since.
class CardFingerprint
{
public:
    // The files that make up a card: .sza, .anm, .pan and .kl.
    static const QStringList &extensions();

    void take(const QString &cardBase);
    void take(const QString &cardBase, const QString &extension);
    void clear() { m_stamps.clear(); }
    // True when every file taken still has its size and time; nothing taken matches anything.
    bool matches(const QString &cardBase) const;
    bool matches(const QString &cardBase, const QString &extension) const;

private:
    struct Stamp
    {
        qint64 size = -1;
        qint64 modified = 0;
        bool operator==(const Stamp &other) const
        {
            return size == other.size && modified == other.modified;
        }
    };

    static Stamp stampOf(const QString &path);

    QHash<QString, Stamp> m_stamps;
};
