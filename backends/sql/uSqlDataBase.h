#pragma once
// The root object of one database: connecting (the parameter "DIR=<file>;"; an
// empty one opens the default file in the user's data folder) and the parameter
// dialog, the root transaction, the registries, the providers of user-defined
// fields and word dictionaries, operators with login, and import.

#include "uEwidarQuorDBIntf.h"

#include <QString>

struct TSqlTarget;

// Asks the operator for the password of Target's user (when a widgets application runs
// on this thread and EWIDAR_NO_ASK is not set); false when nothing was given.
bool AskPassword(TSqlTarget& Target);

// A new, unconnected root object for a backend symbol; nullptr for a symbol not served.
TIntfPtr<IEwidarDataBase> MakeSqlDataBase(const QString& Symbol);

// Path of the default database file: <user's generic data folder>/Ewidar/ewidar.db.
QString DefaultDataBasePath();
