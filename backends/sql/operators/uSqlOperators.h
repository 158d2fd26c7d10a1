#pragma once
// The operator objects of the contract over ew_group and ew_user: the list of
// groups, a group with its operators, an operator. Lists are read when first
// used and keep what they read; a new group or operator joins the lists that are
// asked for after it was posted. Changes are stored by Post and Delete.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

// The groups of the open database.
TIntfPtr<IUsersGroup> MakeUsersGroups(const TSqlConnectionPtr& C);
