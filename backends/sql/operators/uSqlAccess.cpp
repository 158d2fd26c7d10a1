#include "uSqlAccess.h"

#include "uSqlConnection.h"
#include "uSqlErrors.h"

namespace SqlAccess {

namespace {

constexpr int32_t kLevels = rtOperators | rtApproved | rtCreate | rtModify | rtView;

int32_t MissingCode(int32_t Right) {
    switch (Right) {
    case rtOperators:
        return SqlErrors::ecNoRightOperators;
    case rtApproved:
    case rtCreate:
        return SqlErrors::ecNoRightCreate;
    case rtModify:
        return SqlErrors::ecNoRightModify;
    default:
        return SqlErrors::ecNoRightView;
    }
}

} // namespace

bool Grants(int32_t GroupRights, int32_t Right) {
    const int32_t levels = GroupRights & kLevels;
    if (levels == 0)
        return false;
    const int32_t lowest = levels & -levels;
    return lowest <= Right;
}

void Demand(TSqlConnection& C, int32_t Right) {
    C.Require();
    // One statement: whether operators exist, and the logged-in operator's group rights
    // (none when the operator was deleted meanwhile).
    const auto rows = C.Rows(
        QStringLiteral("SELECT (SELECT count(*) FROM ew_user), count(*), coalesce(max(g.rights), 0) FROM "
                       "ew_user u JOIN ew_group g ON g.id = u.group_id WHERE u.id = ?"),
        {C.Operator()});
    if (rows.isEmpty() || rows.front()[0].toLongLong() == 0)
        return;
    if (C.Operator() == 0 || rows.front()[1].toLongLong() == 0)
        Fail(SqlErrors::ecNotLoggedIn);
    if (!Grants(rows.front()[2].toInt(), Right))
        Fail(MissingCode(Right));
}

} // namespace SqlAccess
