#include "uSqlSnapshot.h"

#include "uSqlDialect.h"

TSqlReadSnapshot::TSqlReadSnapshot(TSqlConnection& C, int FailCode) : m_c(C), m_code(FailCode) {
    if (C.InUserTransaction() || C.InWriteScope())
        return;
    if (C.Dialect().ServerLiveness()) {
        C.Exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"), {}, m_code);
        C.Exec(QStringLiteral("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY"), {}, m_code);
    } else {
        C.Exec(QStringLiteral("BEGIN"), {}, m_code);
    }
    m_open = true;
}

TSqlReadSnapshot::~TSqlReadSnapshot() {
    if (!m_open)
        return;
    try {
        m_c.Exec(QStringLiteral("ROLLBACK"));
    } catch (...) {
    }
}

void TSqlReadSnapshot::End() {
    if (!m_open)
        return;
    m_open = false;
    m_c.Exec(QStringLiteral("COMMIT"), {}, m_code);
}
