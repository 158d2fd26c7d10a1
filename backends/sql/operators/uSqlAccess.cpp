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

// Whether operators exist, and the logged-in operator's group rights (NULL when the
// operator was deleted meanwhile).
QString Columns() {
    return QStringLiteral("(SELECT count(*) FROM ew_user), (SELECT coalesce(g.rights, 0) FROM ew_user u "
                          "JOIN ew_group g ON g.id = u.group_id WHERE u.id = ?)");
}

void Judge(TSqlConnection& C, int32_t Right, const QVariant& Operators, const QVariant& Rights) {
    if (Operators.toLongLong() == 0)
        return;
    if (C.Operator() == 0 || Rights.isNull())
        Fail(SqlErrors::ecNotLoggedIn);
    if (!Grants(Rights.toInt(), Right))
        Fail(MissingCode(Right));
}

void Demand(TSqlConnection& C, int32_t Right) {
    C.Require();
    static const QString sql = QStringLiteral("SELECT ") + Columns();
    const auto rows = C.Rows(sql, {C.Operator()});
    if (!rows.isEmpty())
        Judge(C, Right, rows.front()[0], rows.front()[1]);
}

} // namespace SqlAccess
