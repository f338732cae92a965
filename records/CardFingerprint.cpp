#include "records/CardFingerprint.h"

#include <filesystem>
#include <system_error>

const QStringList &CardFingerprint::extensions()
{
    static const QStringList list = {QStringLiteral("sza"), QStringLiteral("anm"),
                                     QStringLiteral("pan"), QStringLiteral("kl")};
    return list;
}

CardFingerprint::Stamp CardFingerprint::stampOf(const QString &path)
{
    // The file system's own resolution: two saves within one millisecond still differ.
    const std::filesystem::path file(path.toStdU16String());
    std::error_code error;
    Stamp stamp;
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return stamp;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error)
        return stamp;
    stamp.size = static_cast<qint64>(size);
    stamp.modified = static_cast<qint64>(modified.time_since_epoch().count());
    return stamp;
}

void CardFingerprint::take(const QString &cardBase)
{
    for (const QString &extension : extensions())
        take(cardBase, extension);
}

void CardFingerprint::take(const QString &cardBase, const QString &extension)
{
    m_stamps.insert(extension, stampOf(cardBase + QLatin1Char('.') + extension));
}

bool CardFingerprint::matches(const QString &cardBase) const
{
    for (auto it = m_stamps.cbegin(); it != m_stamps.cend(); ++it) {
        if (!(stampOf(cardBase + QLatin1Char('.') + it.key()) == it.value()))
            return false;
    }
    return true;
}

bool CardFingerprint::matches(const QString &cardBase, const QString &extension) const
{
    const auto it = m_stamps.constFind(extension);
    return it == m_stamps.cend() || stampOf(cardBase + QLatin1Char('.') + extension) == it.value();
}
