#pragma once
// A read transaction in which several whole-table reads see one moment of a database:
// SQLite's deferred transaction, a server's consistent snapshot at repeatable read.
// Inside a transaction the connection already has, the reads see that one and nothing is
// opened. Ended with End (a commit); left open, it is rolled back.

#include "uSqlConnection.h"

class TSqlReadSnapshot {
public:
    // Failures to open or end it throw TSqlFailure with FailCode.
    explicit TSqlReadSnapshot(TSqlConnection& C, int FailCode = 3);
    ~TSqlReadSnapshot();
    TSqlReadSnapshot(const TSqlReadSnapshot&) = delete;
    TSqlReadSnapshot& operator=(const TSqlReadSnapshot&) = delete;
    void End();

private:
    TSqlConnection& m_c;
    int m_code;
    bool m_open = false;
};
