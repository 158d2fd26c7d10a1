#pragma once
// The databases the backend benchmarks run over, one set per dialect: SQLite files in
// <bin>/../bench-data (generated once and reused), and databases on a private MariaDB
// server that the benchmark starts itself (the one the backend tests use) and fills
// at the first use in each run. The same generator fills both.

#include "uEwidarQuorDBIntf.h"

#include <QProcessEnvironment>
#include <QString>

namespace benchmark {
class State;
}

namespace BenchTargets {

enum class TDialect { Sqlite, MySql };
inline constexpr TDialect kDialects[] = {TDialect::Sqlite, TDialect::MySql};

// "SQLITE" or "MYSQL": the backend's symbol, and the suffix of the benchmark names.
QString Name(TDialect D);

// The connection parameter of a database holding Count generated subjects, generating
// it at the first call; empty, with the reason in Why, when the dialect cannot run here
// (no server binaries, no driver, a failed fill).
QString Generated(TDialect D, int Count, QString& Why);
// The connection parameter of a new empty database (no schema yet); the previous one
// given under the same Tag is removed first. Empty, with Why, when it cannot be had.
QString Empty(TDialect D, const QString& Tag, QString& Why);

// The file of a SQLite connection parameter (DIR=<path>;).
QString FileOf(const QString& Param);

// A root object of the dialect connected with Param (Create as for Connect), or empty
// with the backend's code in Why.
TIntfPtr<IEwidarDataBase> Connected(TDialect D, const QString& Param, bool Create, QString& Why);
// The same for a root object made elsewhere (the benchmark's linked-in library).
TIntfPtr<IEwidarDataBase> Connected(TIntfPtr<IEwidarDataBase> Db, const QString& Param, bool Create, QString& Why);
// Marks the benchmark skipped, with the reason shown in its row.
void Skip(benchmark::State& State, const QString& Why);

// The environment of a child process that works on databases of the dialect, as the
// backend tests' child reads it (EWIDAR_TEST_DIALECT, EWIDAR_TEST_MYSQL_SOCKET).
QProcessEnvironment ChildEnvironment(TDialect D);
// The database argument of that child for Param: the file, or the database's name.
QString ChildTarget(TDialect D, const QString& Param);

// Stops the server, if it was started, and removes the empty databases made by Empty.
void Shutdown();

// Registered from their own files, each once per dialect.
void RegisterImportBenchmarks();
void RegisterDeskBenchmarks();
void RegisterHistoryBenchmarks();
// Disconnects the history cases' own roots; before Shutdown.
void ReleaseHistoryBenchmarks();

} // namespace BenchTargets
