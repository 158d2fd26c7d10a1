#pragma once
// A subject with every field, section, link, company, account, representative,
// employee, contractor and some user-defined fields filled, stored through a real
// backend; values include markup characters, quotes, Polish letters and memo lines.

#include "uEwidarQuorDBIntf.h"

// Creates the subject in the connected database; empty (after a test failure) when a post fails.
TIntfPtr<IPodmiot> NewFilledSubject(IEwidarDataBase* Db);
