#pragma once
// What the operators tree keeps per node, and the modes of the two edit windows
// that work on a node.

#include "uEwidarQuorDBIntf.h"

#include <QString>

// The data of one node of the operators tree: a group node carries its group,
// an operator node its operator, the operator's group and that group's operators.
// Every node also holds the list of all groups it was read from.
struct TNodeData {
    QString ID; // "<id>UsersGroup" or "<id>User"
    TIntfPtr<IUsersGroup> UsersGroup;
    TIntfPtr<IUserGroup> UserGroup;
    TIntfPtr<IUsers> Users;
    TIntfPtr<IUser> User;
};

enum TFormMode { fmUndef, fmNew, fmEdit };
