// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CardHistory.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFile.h"
#include "platform/FileError.h"
#include "records/CardFile.h"
#include "records/CardLock.h"
#include "records/SheetFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <QTimeZone>
#include <atomic>
#include <zlib.h>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

const QString kLogName = QStringLiteral("changes.log");
const QString kVersionsName = QStringLiteral("versions/");
const QString kStampFormat = QStringLiteral("yyyyMMddTHHmmss");
// A version never holds more than the largest sheet file.
const qint64 kVersionLimit = SheetFile::kMaxBytes;

QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return QString::fromUtf8(out);
}

QString localStamp(const QDateTime &when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString userName()
{
#ifdef Q_OS_UNIX
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

// Host names may hold characters no file name should.
QString fileSafe(const QString &text)
{
    QString safe = text;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    safe.replace(unsafe, QStringLiteral("_"));
    return safe.isEmpty() ? QStringLiteral("host") : safe;
}

QByteArray gzip(const QByteArray &bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return {};
    QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))) + 32, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

bool gunzip(const QByteArray &packed, qint64 limit, QByteArray &bytes)
{
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 16) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    bytes.clear();
    char buffer[65536];
    int result = Z_OK;
    while (result == Z_OK && bytes.size() <= limit) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        bytes.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END && bytes.size() <= limit;
}

} // namespace

CardHistory::CardHistory(QString folder, QString id)
    : m_folder(std::move(folder)), m_id(std::move(id))
{
}

QString CardHistory::historyRoot(const QString &folder)
{
    return folder + QStringLiteral("history/");
}

QString CardHistory::path() const
{
    return historyRoot(m_folder) + m_id + QLatin1Char('/');
}

QString CardHistory::logPath() const
{
    return path() + kLogName;
}

QString CardHistory::versionsPath() const
{
    return path() + kVersionsName;
}

QByteArray CardHistory::formatLine(const HistoryEntry &entry)
{
    const QStringList fields = {localStamp(entry.when),
                                entry.host,
                                entry.user,
                                entry.action,
                                entry.file,
                                entry.sheet > 0 ? QString::number(entry.sheet) : QString(),
                                entry.version,
                                entry.digest,
                                entry.note};
    QByteArray line;
    for (const QString &field : fields)
        line += escaped(field) + '\t';
    line.chop(1);
    return line + '\n';
}

bool CardHistory::parseLine(const QByteArray &line, HistoryEntry &entry)
{
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() < 9)
        return false;
    entry.when = QDateTime::fromString(unescaped(fields[0]), Qt::ISODateWithMs);
    entry.host = unescaped(fields[1]);
    entry.user = unescaped(fields[2]);
    entry.action = unescaped(fields[3]);
    entry.file = unescaped(fields[4]);
    entry.sheet = fields[5].toInt();
    entry.version = unescaped(fields[6]);
    entry.digest = unescaped(fields[7]);
    entry.note = unescaped(fields[8]);
    return entry.when.isValid() && !entry.action.isEmpty();
}

QList<HistoryEntry> CardHistory::entries(QString *error) const
{
    QByteArray bytes;
    QString reason;
    switch (BoundedFile::read(logPath(), kLogLimit, bytes, &reason)) {
    case BoundedFile::Missing:
        return {};
    case BoundedFile::Damaged:
        if (error)
            *error = logPath() + QStringLiteral(": ") + reason;
        return {};
    case BoundedFile::Read:
        break;
    }
    QList<HistoryEntry> result;
    // A line cut short by a crash of another program is skipped, not guessed at.
    for (const QByteArray &line : bytes.split('\n')) {
        HistoryEntry entry;
        if (parseLine(line, entry))
            result << entry;
    }
    return result;
}

bool CardHistory::readVersion(const QString &version, QByteArray &bytes, QString *error) const
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = versionsPath() + version + QStringLiteral(": ") + reason;
        return false;
    };
    if (version.isEmpty() || version.contains(QLatin1Char('/')) ||
        version.contains(QLatin1Char('\\')) || version.startsWith(QLatin1Char('.')))
        return fail(QStringLiteral("no version name"));
    QByteArray packed;
    QString reason;
    switch (BoundedFile::read(versionsPath() + version, kVersionLimit, packed, &reason)) {
    case BoundedFile::Missing:
        return fail(QStringLiteral("missing"));
    case BoundedFile::Damaged:
        return fail(reason);
    case BoundedFile::Read:
        break;
    }
    if (!gunzip(packed, kVersionLimit, bytes))
        return fail(QStringLiteral("damaged gzip data"));
    return true;
}

QString CardHistory::keepVersion(const QString &extension, const QByteArray &replaced)
{
    static std::atomic<int> counter{0};
    const QString name =
        QStringLiteral("%1-%2-%3-%4%5.gz")
            .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzz")),
                 fileSafe(QSysInfo::machineHostName()),
                 QString::number(QCoreApplication::applicationPid()), QString::number(++counter),
                 extension);
    const QByteArray packed = gzip(replaced);
    if (packed.isEmpty()) {
        m_failure = versionsPath() + name + QStringLiteral(": cannot pack");
        return {};
    }
    if (!QDir().mkpath(versionsPath())) {
        m_failure = versionsPath() + QStringLiteral(": cannot create the folder");
        FileError::note(versionsPath(), QStringLiteral("cannot create the folder"));
        return {};
    }
    if (!AtomicFile::write(versionsPath() + name, packed)) {
        m_failure = FileError::last();
        return {};
    }
    return name;
}

bool CardHistory::log(const HistoryEntry &entry)
{
    return log(QList<HistoryEntry>{entry});
}

bool CardHistory::log(const QList<HistoryEntry> &entries)
{
    QByteArray lines;
    for (HistoryEntry filled : entries) {
        if (!filled.when.isValid())
            filled.when = QDateTime::currentDateTime();
        if (filled.host.isEmpty())
            filled.host = QSysInfo::machineHostName();
        if (filled.user.isEmpty())
            filled.user = userName();
        lines += formatLine(filled);
    }
    QByteArray bytes;
    QString reason;
    if (BoundedFile::read(logPath(), kLogLimit, bytes, &reason) == BoundedFile::Damaged) {
        // Never written over: what is there may be all that tells who changed the card.
        m_failure = logPath() + QStringLiteral(": ") + reason;
        FileError::note(logPath(), reason);
        return false;
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    return writeLog(bytes + lines);
}

bool CardHistory::writeLog(const QByteArray &bytes)
{
    if (!QDir().mkpath(path())) {
        m_failure = path() + QStringLiteral(": cannot create the folder");
        FileError::note(path(), QStringLiteral("cannot create the folder"));
        return false;
    }
    if (AtomicFile::write(logPath(), bytes))
        return true;
    m_failure = FileError::last();
    return false;
}

QString CardHistory::digest(const QByteArray &bytes)
{
    return QStringLiteral("sha256:") +
           QString::fromLatin1(
               QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16));
}

QString CardHistory::deletedFolderName(const QString &id, const QDateTime &when)
{
    return id + QLatin1Char('~') + when.toUTC().toString(kStampFormat);
}

QList<CardHistory::DeletedCard> CardHistory::deletedCards(const QString &dbPath)
{
    QList<DeletedCard> cards;
    const QStringList folders =
        QDir(historyRoot(dbPath)).entryList({QStringLiteral("*~*")}, QDir::Dirs, QDir::Name);
    for (const QString &folder : folders) {
        DeletedCard card;
        card.folderName = folder;
        card.id = folder.section(QLatin1Char('~'), 0, 0);
        card.deleted =
            QDateTime::fromString(folder.section(QLatin1Char('~'), 1).left(15), kStampFormat);
        card.deleted.setTimeZone(QTimeZone::utc());
        if (card.id.isEmpty() || !card.deleted.isValid())
            continue;
        const CardHistory history(dbPath, folder);
        for (const HistoryEntry &entry : history.entries()) {
            QByteArray sza;
            if (entry.action != QLatin1String("card-deleted") || entry.file != ".sza" ||
                !history.readVersion(entry.version, sza))
                continue;
            const QStringList values = CardFile::personalFromBytes(sza);
            card.name = values.value(CardFile::keys().indexOf(QStringLiteral("Nev")));
            card.birthDate = values.value(CardFile::keys().indexOf(QStringLiteral("SzulDatum")));
        }
        cards << card;
    }
    std::sort(cards.begin(), cards.end(),
              [](const DeletedCard &a, const DeletedCard &b) { return a.deleted > b.deleted; });
    return cards;
}

int CardHistory::prune(const QString &dbPath, int years, QString *error)
{
    return prune(dbPath, QDate::currentDate().addYears(-years), error);
}

int CardHistory::prune(const QString &dbPath, const QDate &cutOff, QString *error)
{
    int removed = 0;
    QStringList failures;
    for (const QString &folder : {dbPath, dbPath + QStringLiteral("arc/")}) {
        const QStringList cards =
            QDir(historyRoot(folder)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &card : cards) {
            // A history being copied by an archive move is settled by the move.
            if (card.startsWith(QLatin1Char('.')))
                continue;
            CardLock lock(CardLock::pathFor(dbPath + card.section(QLatin1Char('~'), 0, 0)));
            if (!lock.acquire()) {
                failures << historyRoot(folder) + card + QStringLiteral(": the card is in use");
                continue;
            }
            CardHistory history(folder, card);
            const int count = history.pruneBefore(cutOff);
            if (count < 0)
                failures << history.failure();
            else
                removed += count;
        }
    }
    if (error)
        *error = failures.join(QLatin1Char('\n'));
    return failures.isEmpty() ? removed : -1;
}

int CardHistory::pruneBefore(const QDate &cutOff)
{
    QByteArray bytes;
    QString reason;
    if (BoundedFile::read(logPath(), kLogLimit, bytes, &reason) == BoundedFile::Damaged) {
        m_failure = logPath() + QStringLiteral(": ") + reason;
        return -1;
    }
    const QDateTime limit = cutOff.startOfDay();
    QByteArray kept;
    QSet<QString> used;
    QSet<QString> gone;
    for (const QByteArray &line : bytes.split('\n')) {
        HistoryEntry entry;
        // A line that cannot be read is no older than anything: it stays.
        if (parseLine(line, entry) && entry.when < limit) {
            gone.insert(entry.version);
            continue;
        }
        if (line.isEmpty())
            continue;
        kept += line + '\n';
        used.insert(entry.version);
    }
    if (!gone.isEmpty()) {
        HistoryEntry entry;
        entry.action = QStringLiteral("history-pruned");
        entry.note = cutOff.toString(Qt::ISODate);
        entry.when = QDateTime::currentDateTime();
        entry.host = QSysInfo::machineHostName();
        entry.user = userName();
        if (!writeLog(kept + formatLine(entry)))
            return -1;
    }
    // The dropped lines' versions, and any no line names from before the cut-off (their names
    // begin with the UTC time).
    int removed = 0;
    const QString cut = cutOff.startOfDay().toUTC().toString(QStringLiteral("yyyyMMddTHHmmsszzz"));
    for (const QString &name : QDir(versionsPath()).entryList(QDir::Files, QDir::Name)) {
        if (!used.contains(name) && (gone.contains(name) || name.left(cut.size()) < cut) &&
            QFile::remove(versionsPath() + name))
            ++removed;
    }
    return removed;
}
