#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1250.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

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

// Well-formed UTF-8 holding at least one non-ASCII character: single-byte text rarely is.
bool readsAsUtf8(const QByteArray &bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

ProfileFile::ProfileFile(QString path, Kind kind) : m_path(std::move(path)), m_kind(kind) {}

bool ProfileFile::exists() const
{
    return QFile::exists(m_path);
}

QStringList ProfileFile::readLines() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = decode(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    bool inSection = false;
    const QStringList lines = readLines();
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (isSectionLine(trimmed)) {
            inSection = sameName(sectionName(trimmed), section);
            continue;
        }
        if (!inSection)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && sameName(line.left(eq).trimmed(), key))
            return cleanValue(line.mid(eq + 1));
    }
    return std::nullopt;
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
    QStringList lines = readLines();
    for (const Entry &entry : entries)
        applyEntry(lines, entry);
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return AtomicFile::write(m_path, encode(text),
                             m_kind == OwnSettings ? AtomicFile::InPlaceFallback
                                                   : AtomicFile::AtomicOnly);
}

QString ProfileFile::decode(const QByteArray &bytes) const
{
    if (m_kind == OwnSettings && readsAsUtf8(bytes))
        return QString::fromUtf8(bytes);
    return Cp1250::toUnicode(bytes);
}

QByteArray ProfileFile::encode(const QString &text) const
{
    const QByteArray single = Cp1250::fromUnicode(text);
    if (m_kind == SharedText)
        return single;
    // Windows-1250 bytes that happen to read as UTF-8 would come back as other characters.
    if (Cp1250::toUnicode(single) != text || readsAsUtf8(single))
        return text.toUtf8();
    return single;
}
