#pragma once
// Operator groups and operators as the tables ew_group and ew_user hold them,
// and the checks that keep them usable: names and logins are never blank, a
// login is unique ignoring letter case, and while any operator exists at least
// one belongs to a group with the right to manage operators (bit 1), so that
// nobody is locked out of the operators window.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class TSqlConnection;

namespace SqlOperatorStore {

// The right to manage operators.
constexpr int32_t RightManageOperators = 1;

struct TGroupData {
    qint64 id = 0;
    QString name;
    int32_t rights = 0; // stored and read unchanged
};

struct TUserData {
    qint64 id = 0;
    qint64 groupId = 0;
    QString login;
    QString firstName;
    QString lastName;
    QString phone;
    QString email;
    std::optional<QString> password; // set and not yet stored; only its hash is ever stored
};

// Groups in the order they were created; operators of a group likewise.
std::vector<TGroupData> Groups(TSqlConnection& C);
std::vector<TUserData> Users(TSqlConnection& C, qint64 GroupID);

// Store a new or changed group or operator (the identifier is set after a new one
// is stored). Codes: 1001 blank name or login, 1002 login taken, 1003 no
// administrator would remain, 104 an operator's group was never stored, 106 the
// group or operator no longer exists.
void PostGroup(TSqlConnection& C, TGroupData& G);
void PostUser(TSqlConnection& C, TUserData& U);
// Deleting a group deletes its operators. 104 never stored, 106 already gone, 1003.
void DeleteGroup(TSqlConnection& C, qint64 ID);
void DeleteUser(TSqlConnection& C, qint64 ID);

int OperatorCount(TSqlConnection& C);
// The operator with this login (ignoring case and surrounding blanks) and password;
// throws 21 for an unknown login or a wrong password.
qint64 CheckLogin(TSqlConnection& C, const QString& Login, const QString& Password);
// Rights of the operator's group; empty when the operator no longer exists.
std::optional<int32_t> UserRights(TSqlConnection& C, qint64 UserID);

} // namespace SqlOperatorStore
