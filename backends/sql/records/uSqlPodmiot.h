#pragma once
// The subject record: one object class for a bare subject, a taxpayer, an employee
// and a contractor. Which of IPodatnik, IPracownik and IKontrahent it answers to is
// its face: the registry it was reached through (or, from the list of all subjects,
// the first registry it belongs to).

#include "uEwidarQuorDBIntf.h"
#include "uSqlRecordState.h"

TIntfPtr<IEwidarRecord> MakePodmiotRecord(const TRecordStatePtr& State);
