// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/PortAccess.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace {

constexpr unsigned kGroupReadWrite = 060;
constexpr unsigned kOthersReadWrite = 006;

#ifdef Q_OS_UNIX
QString userName(uid_t id)
{
    const passwd *account = getpwuid(id);
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(id);
}

QString groupName(gid_t id)
{
    const group *entry = getgrgid(id);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(id);
}

QList<unsigned> sessionGroups()
{
    QList<unsigned> groups{unsigned(getegid())};
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> ids(std::max(count, 0));
    if (count > 0 && getgroups(count, ids.data()) == count) {
        for (gid_t id : ids)
            groups.append(id);
    }
    return groups;
}

QList<unsigned> accountGroups(uid_t user)
{
    const passwd *account = getpwuid(user);
    if (!account)
        return {};
    const QByteArray name(account->pw_name);
    const gid_t primary = account->pw_gid;
    int count = 64;
    std::vector<gid_t> ids(count);
    if (getgrouplist(name.constData(), primary, ids.data(), &count) < 0) {
        ids.resize(count);
        if (getgrouplist(name.constData(), primary, ids.data(), &count) < 0)
            return {};
    }
    return QList<unsigned>(ids.begin(), ids.begin() + count);
}
#endif

} // namespace

bool PortAccess::gather(const QString &devicePath, Facts &facts)
{
    facts.port = devicePath;
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(devicePath).constData(), &info) != 0)
        return false;
    facts.ownerId = info.st_uid;
    facts.owner = userName(info.st_uid);
    facts.groupId = info.st_gid;
    facts.group = groupName(info.st_gid);
    facts.mode = info.st_mode & 07777;
    facts.userId = geteuid();
    facts.user = userName(geteuid());
    facts.sessionGroups = sessionGroups();
    facts.accountGroups = accountGroups(geteuid());
    return true;
#else
    return false;
#endif
}

PortAccess::Cause PortAccess::cause(const Facts &facts)
{
    if ((facts.mode & kOthersReadWrite) == kOthersReadWrite)
        return Refused;
    if (facts.userId == facts.ownerId)
        return Refused;
    if ((facts.mode & kGroupReadWrite) != kGroupReadWrite)
        return OwnerOnly;
    if (facts.sessionGroups.contains(facts.groupId))
        return Refused;
    return facts.accountGroups.contains(facts.groupId) ? LogInAgain : NotInGroup;
}

QString PortAccess::hint(const Facts &facts, const std::function<QString(const QString &)> &text)
{
    const QString mode = QStringLiteral("0%1").arg(facts.mode, 3, 8, QLatin1Char('0'));
    switch (cause(facts)) {
    case NotInGroup:
        return text(QStringLiteral("PortNotInGroup")).arg(facts.port, facts.user, facts.group);
    case LogInAgain:
        return text(QStringLiteral("PortLogInAgain")).arg(facts.port, facts.group);
    case OwnerOnly:
        return text(QStringLiteral("PortOwnerOnly")).arg(facts.port, facts.owner, mode);
    case Refused:
        break;
    }
    return text(QStringLiteral("PortRefused")).arg(facts.port, facts.owner, facts.group, mode);
}
