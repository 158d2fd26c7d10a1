#pragma once
// What the logged-in operator may do, as the windows need it to show or disable
// their commands. The backend enforces the same rules on every operation; this is
// only what the windows offer. Read again after every login, logout and change of
// operators, from the groups the root object lists.

#include "uEwidarQuorDBIntf.h"

#include <QString>

namespace AccessRights {

// The five cumulative levels of a group's rights value (its lowest set bit and
// every level above it).
enum TRight : int32_t { rtOperators = 1, rtCreate = 4, rtModify = 8, rtView = 16 };

bool Grants(int32_t Rights, int32_t Right);

struct TAccess {
    bool operatorsExist = false; // false: the database is open to everyone
    bool loggedIn = false;       // nobody needs to log in, or an operator is logged in
    int32_t rights = 0;          // what the operator's group holds (31 without operators)
    bool May(int32_t Right) const { return loggedIn && Grants(rights, Right); }
};

// The access of the operator logged in on Root, whose login (as typed) is Login.
// An administrator may do everything; another operator is found by login among the
// groups. No root object: nothing is refused.
TAccess Read(IEwidarDataBase* Root, const QString& Login);

} // namespace AccessRights
