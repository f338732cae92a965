// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/BackupCardReader.h"

#include "platform/BoundedFile.h"
#include "platform/Sha256.h"
#include "records/CardLock.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <memory>

namespace {

constexpr int kIdLength = 8;

const char *const kCardExtensions[] = {".sza",  ".anm",  ".pan", ".kl", ".~sza",
                                       ".~anm", ".~pan", ".~kl", ".kl$"};

using State = BackupCardReader::Card::State;

} // namespace

BackupCardReader::BackupCardReader(const QString &db, const QMap<QString, QSet<QString>> &listed,
                                   qint64 waitMs)
    : m_db(db), m_listed(listed), m_ids(listed.keys()), m_waitMs(waitMs), m_cards(listed.size())
{
    const int threads = std::min<int>(kThreads, int(m_ids.size()));
    for (int n = 0; n < threads; ++n)
        m_threads.emplace_back([this] { work(); });
}

BackupCardReader::~BackupCardReader()
{
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_stop = true;
    }
    m_room.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

BackupCardReader::Card BackupCardReader::next()
{
    std::unique_lock<std::mutex> guard(m_mutex);
    m_ready.wait(guard, [this] { return m_cards[m_handedOut].has_value(); });
    Card card = std::move(*m_cards[m_handedOut]);
    m_cards[m_handedOut++].reset();
    guard.unlock();
    // One more card may be read ahead now.
    m_room.notify_one();
    return card;
}

void BackupCardReader::work()
{
    for (;;) {
        std::unique_lock<std::mutex> guard(m_mutex);
        m_room.wait(guard, [this] {
            return m_stop || m_taken == int(m_ids.size()) || m_taken < m_handedOut + kAhead;
        });
        if (m_stop || m_taken == int(m_ids.size()))
            return;
        const int index = m_taken++;
        guard.unlock();
        Card card = read(m_ids[index]);
        guard.lock();
        m_cards[index] = std::move(card);
        const bool awaited = index == m_handedOut;
        guard.unlock();
        if (awaited)
            m_ready.notify_one();
    }
}

BackupCardReader::Card BackupCardReader::read(const QString &id) const
{
    Card card;
    card.id = id;
    CardLock lock(CardLock::pathFor(m_db + id));
    // A folder that takes no lock file (read-only) is read as it is.
    if (!lock.acquire(int(m_waitMs)) && lock.inUse()) {
        card.state = State::Busy;
        return card;
    }
    qint64 total = 0;
    for (const QString &relative : filesOf(m_db, id, m_listed.value(id))) {
        const QString path = m_db + relative;
        BoundedFile::Status status = BoundedFile::Missing;
        QString reason;
        const std::unique_ptr<QFile> file = BoundedFile::open(path, &status, &reason);
        // Deleted since the folder was listed: the backup shows the folder as it is now.
        if (!file && status == BoundedFile::Missing)
            continue;
        const auto failed = [&card, &path](const QString &why) {
            card.state = State::Failed;
            card.failure = BackupResult::failed(
                BackupResult::Problem::Unreadable,
                why.isEmpty() ? path : QStringLiteral("%1 (%2)").arg(path, why));
            return card;
        };
        if (!file)
            return failed(reason);
        const qint64 size = file->size();
        if ((total += size) > kCardBytes) {
            card.state = State::Large;
            card.files.clear();
            return card;
        }
        File one{relative, file->read(size), {}, {}};
        // A file that shrank while it was read would leave its entry short of its size.
        if (one.bytes.size() != size)
            return failed(QString());
        one.digest = Sha256::hash(one.bytes);
        one.modified = file->fileTime(QFileDevice::FileModificationTime);
        card.files << one;
    }
    return card;
}

QString BackupCardReader::cardOf(const QString &relative)
{
    static const QRegularExpression history(
        QStringLiteral("^(?:arc/)?history/(B[^/~]{%1})[/~]").arg(kIdLength - 1));
    if (const QRegularExpressionMatch match = history.match(relative); match.hasMatch())
        return match.captured(1);
    const QString fileName = relative.section(QLatin1Char('/'), -1);
    const bool card = fileName.size() > kIdLength && fileName.startsWith(QLatin1Char('B')) &&
                      fileName[kIdLength] == QLatin1Char('.');
    return card ? fileName.left(kIdLength) : QString();
}

QStringList BackupCardReader::filesOf(const QString &db, const QString &id,
                                      const QSet<QString> &listed)
{
    QSet<QString> files = listed;
    for (const QString &folder : {QString(), QStringLiteral("arc/")}) {
        for (const char *extension : kCardExtensions)
            files << folder + id + QLatin1String(extension);
        const QString history = folder + QStringLiteral("history/") + id;
        QDirIterator kept(db + history, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (kept.hasNext())
            files << kept.next().mid(db.size());
    }
    QStringList sorted = files.values();
    sorted.sort();
    return sorted;
}
