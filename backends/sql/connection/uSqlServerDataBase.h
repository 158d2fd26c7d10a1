#pragma once
// What the server dialog does on the server itself: a bare connection that tests the
// typed parameters, and a new database for this program (the database when missing,
// then its tables through the backend's own opening). Data already on the server is
// never changed: a database of this program is left as it is, one of another program
// refused.

#include <QString>

struct TSqlTarget;

namespace SqlServerDataBase {

// Why Name cannot name a server database; empty when it can. Checked before anything
// reaches the server, so that no statement is built from text that could break out of
// its quotes.
QString NameProblem(const QString& Name);

// Opens and closes a connection to Target (to its database, or to the server alone
// when the database is empty). A login the server refuses is tried once more with a
// password asked of the operator, which Target then keeps. Empty on success, else
// the server's reason, or why the server cannot hold this program's database.
QString Probe(TSqlTarget& Target);

struct TOutcome {
    bool ok = false; // the database is ready for this program (new, or found so)
    QString text;    // what to tell the operator
};

// Makes Target.database (a name NameProblem accepts) a database of this program:
// creates it when the server has none of that name, and the tables in it when it is
// empty. The password is got as Probe gets it.
TOutcome Create(TSqlTarget& Target);

} // namespace SqlServerDataBase
