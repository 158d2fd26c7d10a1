#pragma once
// IEwidarRegistries: a fresh object per request, each getter a fresh collection of
// one registry restricted by the filter text.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

TIntfPtr<IEwidarRegistries> MakeRegistries(const TSqlConnectionPtr& C);
