#pragma once
// The contract's history object over ew_history: a record's history for anyone who may
// view data, the journal and the chain check for those who may manage operators.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

TIntfPtr<IEwidarHistory> MakeHistory(const TSqlConnectionPtr& C);
