// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <functional>

// Why the system refused a serial port, from its owner, group and mode and the groups of the
// user, so that the hint names what the user can actually do about it.
class PortAccess
{
public:
    struct Facts
    {
        QString port;
        unsigned ownerId = 0;
        QString owner;
        unsigned groupId = 0;
        QString group;
        // The permission bits, as chmod takes them (0660).
        unsigned mode = 0;
        unsigned userId = 0;
        QString user;
        // Of the running program: what a log-in gave it.
        QList<unsigned> sessionGroups;
        // Of the account as it is now: a group added since the log-in is here only.
        QList<unsigned> accountGroups;
    };

    enum Cause
    {
        // The port's group may use it and the user is no member: adduser.
        NotInGroup,
        // The user was made a member after this session began: log out and in again.
        LogInAgain,
        // Only the owner may use it: the administrator must give a group access.
        OwnerOnly,
        // Anything else: the user owns it without rights, or an access list or a security module
        // refused; the hint names owner, group and mode.
        Refused,
    };

    // What the system says about the port and the user running the program; false when the port
    // cannot be looked at.
    static bool gather(const QString &devicePath, Facts &facts);
    static Cause cause(const Facts &facts);
    // The hint in the catalogue's words: `text` gives the catalogue text of a key of the
    // "Device" section (PortNotInGroup, PortLogInAgain, PortOwnerOnly, PortRefused).
    static QString hint(const Facts &facts, const std::function<QString(const QString &)> &text);
};
