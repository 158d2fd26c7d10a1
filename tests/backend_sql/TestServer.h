#pragma once
// A private MariaDB server for the tests of the server dialect: a data folder made by
// mariadb-install-db in a temporary folder, mariadbd listening only on a unix socket
// there, started once per test process and stopped when the process's tests end.

#include <QString>

namespace TestServer {

// The socket of the running server, starting it at the first call; empty when it
// cannot run (Why then tells the reason: binaries or Qt's driver missing, start failed).
QString Socket(QString* Why = nullptr);
// A new empty database on the server; its name, or empty.
QString NewDataBase();
// Stops the server (at the end of the tests, and for the restart test).
void Stop();
// Starts the stopped server again on the same data folder and socket; false when it does not answer.
bool Resume();

} // namespace TestServer
