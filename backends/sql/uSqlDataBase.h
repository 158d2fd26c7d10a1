#pragma once
// The root object of one database: connecting (the parameter "DIR=<file>;"; an
// empty one opens the default file in the user's data folder), the root
// transaction and the registries. Operators, user-defined fields, word
// dictionaries, import and the parameter dialog come with later backend work.

#include "uEwidarQuorDBIntf.h"

#include <QString>

// A new, unconnected root object for a backend symbol; nullptr for a symbol not served.
TIntfPtr<IEwidarDataBase> MakeSqlDataBase(const QString& Symbol);

// Path of the default database file: <user's generic data folder>/Ewidar/ewidar.db.
QString DefaultDataBasePath();
