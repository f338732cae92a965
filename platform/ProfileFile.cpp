// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1250.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QHash>
#include <filesystem>
#include <system_error>

namespace {

bool isSectionLine(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char('['));
}

QString sectionName(const QString &trimmed)
{
    const int close = trimmed.indexOf(QLatin1Char(']'));
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString lineKey(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

QString cleanValue(const QString &raw)
{
    QString value = raw.trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    value.truncate(ProfileFile::kMaxValueLength);
    return value;
}

// Where an entry goes: the line holding its key, or the line after the last
// non-blank line of its section (-1 when the section is missing).
struct Place
{
    int keyLine = -1;
    int insertAt = -1;
};

Place findPlace(const QStringList &lines, const QString &section, const QString &key)
{
    Place place;
    bool inSection = false;
    bool sectionSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (isSectionLine(trimmed)) {
            if (inSection)
                return place;
            inSection = !sectionSeen && sameName(sectionName(trimmed), section);
            if (inSection) {
                sectionSeen = true;
                place.insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed.isEmpty())
            place.insertAt = i + 1;
        const QString lk = lineKey(lines[i]);
        if (!lk.isEmpty() && sameName(lk, key)) {
            place.keyLine = i;
            return place;
        }
    }
    return place;
}

void applyEntry(QStringList &lines, const ProfileFile::Entry &entry)
{
    const Place place = findPlace(lines, entry.section, entry.key);
    if (place.keyLine >= 0) {
        lines[place.keyLine] = lineKey(lines[place.keyLine]) + QLatin1Char('=') + entry.value;
        return;
    }
    const QString line = entry.key + QLatin1Char('=') + entry.value;
    if (place.insertAt >= 0) {
        lines.insert(place.insertAt, line);
        return;
    }
    lines << QLatin1Char('[') + entry.section + QLatin1Char(']') << line;
}

// What a name matches without regard to case, as QString::compare sees it: each
// character case-folded on its own.
QString folded(const QString &name)
{
    QString result;
    result.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        const char32_t fold = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(fold))
            result += QChar(QChar::highSurrogate(fold));
        result += QChar(QChar::requiresSurrogates(fold) ? QChar::lowSurrogate(fold) : fold);
    }
    return result;
}

// CR LF, CR and LF each end a line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

struct Stamp
{
    qint64 size = -1;
    qint64 modified = 0;
    bool operator==(const Stamp &other) const
    {
        return size == other.size && modified == other.modified;
    }
};

// At the file system's own resolution; a size of -1 when there is no regular file to stamp,
// so that it is looked at anew.
Stamp stampOf(const QString &path)
{
    const std::filesystem::path file(path.toStdU16String());
    std::error_code error;
    Stamp stamp;
    if (!std::filesystem::is_regular_file(file, error))
        return stamp;
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

} // namespace

ProfileFile::ProfileFile(QString path, Kind kind) : m_path(std::move(path)), m_kind(kind) {}

bool ProfileFile::exists() const
{
    return QFile::exists(m_path);
}

// Every value by its folded section and key names; where a name comes twice, the first in
// the file holds, also across sections of the same name.
struct ProfileFile::Contents
{
    Stamp stamp;
    BoundedFile::Status status = BoundedFile::Missing;
    QHash<QPair<QString, QString>, QString> values;
};

BoundedFile::Status ProfileFile::readLines(QStringList &lines) const
{
    QString text;
    const BoundedFile::Status status = TextFile::read(
        m_path, m_kind == OwnSettings ? TextFile::Cp1250OrUtf8 : TextFile::Cp1250, text);
    lines = splitLines(text);
    return status;
}

std::shared_ptr<ProfileFile::Contents> ProfileFile::parse(const QStringList &lines)
{
    auto contents = std::make_shared<Contents>();
    QString section;
    bool inSection = false;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (isSectionLine(trimmed)) {
            inSection = true;
            section = folded(sectionName(trimmed));
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        const QPair<QString, QString> name(section, folded(line.left(eq).trimmed()));
        if (!contents->values.contains(name))
            contents->values.insert(name, cleanValue(line.mid(eq + 1)));
    }
    return contents;
}

ProfileFile ProfileFile::fromText(QString name, const QString &text)
{
    ProfileFile file(std::move(name));
    auto contents = parse(splitLines(text));
    contents->status = BoundedFile::Read;
    file.m_contents = contents;
    file.m_fixed = true;
    return file;
}

std::shared_ptr<const ProfileFile::Contents> ProfileFile::contents() const
{
    if (m_fixed)
        return m_contents;
    // Stamped before reading: a change while it is read shows at the next lookup.
    const Stamp stamp = stampOf(m_path);
    if (m_contents && stamp.size >= 0 && m_contents->stamp == stamp)
        return m_contents;
    QStringList lines;
    const BoundedFile::Status status = readLines(lines);
    auto contents = parse(lines);
    contents->stamp = stamp;
    contents->status = status;
    m_contents = contents;
    return m_contents;
}

BoundedFile::Status ProfileFile::status() const
{
    return contents()->status;
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    const std::shared_ptr<const Contents> file = contents();
    const auto it = file->values.constFind({folded(section), folded(key)});
    if (it == file->values.cend())
        return std::nullopt;
    return *it;
}

QString ProfileFile::readString(const QString &section, const QString &key,
                                const QString &fallback) const
{
    return value(section, key).value_or(fallback);
}

int ProfileFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    const auto text = value(section, key);
    if (!text)
        return fallback;
    return parseInteger(*text).value_or(fallback);
}

std::optional<int> ProfileFile::parseInteger(const QString &text)
{
    bool ok = false;
    int result = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(2);
        if (digits.isEmpty() || digits.front() == QLatin1Char('+') ||
            digits.front() == QLatin1Char('-'))
            return std::nullopt;
        const qint64 wide = digits.toLongLong(&ok, 16);
        if (ok && wide <= 0xFFFFFFFFLL)
            result = static_cast<int>(static_cast<quint32>(wide));
        else
            ok = false;
    } else {
        result = text.toInt(&ok, 10);
    }
    return ok ? std::optional<int>(result) : std::nullopt;
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return write({{section, key, value}});
}

bool ProfileFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::write(const QList<Entry> &entries)
{
    if (m_fixed)
        return false;
    QStringList lines;
    // What could not be read would be lost.
    if (readLines(lines) == BoundedFile::Damaged)
        return false;
    m_contents.reset();
    for (const Entry &entry : entries)
        applyEntry(lines, entry);
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return AtomicFile::write(m_path, encode(text),
                             m_kind == OwnSettings ? AtomicFile::InPlaceFallback
                                                   : AtomicFile::AtomicOnly);
}

QByteArray ProfileFile::encode(const QString &text) const
{
    const QByteArray single = Cp1250::fromUnicode(text);
    if (m_kind == SharedText)
        return single;
    // Windows-1250 bytes that happen to read as UTF-8 would come back as other characters.
    if (Cp1250::toUnicode(single) != text || TextFile::readsAsUtf8(single))
        return text.toUtf8();
    return single;
}
