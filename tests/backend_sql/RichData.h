#pragma once
// A database with a record of every kind the program creates, and a description
// of everything a database holds: shared by the import and the backup tests.

#include "BackendFixture.h"

void Post(IEwidarRecord* R);
void Define(IEwidarDataBase* Db, int Kind, const QString& Symbol, const QString& Description);
// A source with a record of every kind the program can create, links, people,
// user-defined fields with values and word lists.
void FillRichSource(IEwidarDataBase* Db, int Taxpayers);
// Everything a database holds, as sorted lines that name records by their values
// (every field with its caption and kind, the description lines, links, people,
// definitions and words).
QStringList Snapshot(IEwidarDataBase* Db);
