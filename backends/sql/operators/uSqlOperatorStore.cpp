#include "uSqlOperatorStore.h"

#include "uSqlAccess.h"
#include "uSqlConnection.h"
#include "uSqlErrors.h"
#include "uSqlHistory.h"
#include "uSqlPassword.h"

namespace SqlOperatorStore {

namespace {

QString LoginKey(const QString& Login) {
    return Login.trimmed().toCaseFolded();
}

bool Exists(TSqlConnection& C, const QString& Table, qint64 ID) {
    return C.Scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE id = ?").arg(Table), {ID}, 0).toInt() > 0;
}

void RequireStored(TSqlConnection& C, const QString& Table, qint64 ID) {
    if (ID == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    if (!Exists(C, Table, ID))
        Fail(SqlErrors::ecRecordDeleted);
}

// Checked inside the write transaction after every change, before it commits.
void CheckAdministratorRemains(TSqlConnection& C) {
    if (OperatorCount(C) == 0)
        return;
    const int admins = C.Scalar(QStringLiteral("SELECT count(*) FROM ew_user u JOIN ew_group g ON g.id = "
                                               "u.group_id WHERE (g.rights & ?) <> 0"),
                                {RightManageOperators}, 0)
                           .toInt();
    if (admins == 0)
        Fail(SqlErrors::ecNoAdministrator);
}

void CheckLoginFree(TSqlConnection& C, const QString& Key, qint64 ID) {
    const int taken =
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_user WHERE login_key = ? AND id <> ?"), {Key, ID}, 0)
            .toInt();
    if (taken > 0)
        Fail(SqlErrors::ecDuplicateLogin);
}

qint64 InsertUser(TSqlConnection& C, const TUserData& U, const QString& Hash) {
    return C.Insert(
        QStringLiteral("INSERT INTO ew_user (group_id, login, login_key, password_hash, first_name, "
                       "last_name, phone, email) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {U.groupId, U.login, LoginKey(U.login), Hash, U.firstName, U.lastName, U.phone, U.email});
}

void UpdateUser(TSqlConnection& C, const TUserData& U, const std::optional<QString>& Hash) {
    C.Exec(QStringLiteral("UPDATE ew_user SET group_id = ?, login = ?, login_key = ?, first_name = ?, "
                          "last_name = ?, phone = ?, email = ? WHERE id = ?"),
           {U.groupId, U.login, LoginKey(U.login), U.firstName, U.lastName, U.phone, U.email, U.id});
    if (Hash)
        C.Exec(QStringLiteral("UPDATE ew_user SET password_hash = ? WHERE id = ?"), {*Hash, U.id});
}

// The history of operators and groups: named parts old and new, never a password or its
// hash (only that the password was set). Old or New empty: added or deleted.
struct TPart {
    QString symbol;
    QString caption;
};

const QList<TPart>& GroupParts() {
    static const QList<TPart> parts = {{QStringLiteral("NAZWA"), QStringLiteral("Nazwa grupy")},
                                       {QStringLiteral("UPRAWNIENIA"), QStringLiteral("Uprawnienia")}};
    return parts;
}

const QList<TPart>& UserParts() {
    static const QList<TPart> parts = {{QStringLiteral("GRUPA"), QStringLiteral("Grupa")},
                                       {QStringLiteral("LOGIN"), QStringLiteral("Login")},
                                       {QStringLiteral("IMIE"), QStringLiteral("Imię")},
                                       {QStringLiteral("NAZWISKO"), QStringLiteral("Nazwisko")},
                                       {QStringLiteral("TELEFON"), QStringLiteral("Telefon")},
                                       {QStringLiteral("EMAIL"), QStringLiteral("E-mail")}};
    return parts;
}

QStringList StoredGroup(TSqlConnection& C, qint64 ID) {
    const auto rows = C.Rows(QStringLiteral("SELECT name, rights FROM ew_group WHERE id = ?"), {ID});
    if (rows.isEmpty())
        return {};
    return {rows.front()[0].toString(), rows.front()[1].toString()};
}

QStringList StoredUser(TSqlConnection& C, qint64 ID) {
    const auto rows = C.Rows(QStringLiteral("SELECT g.name, u.login, u.first_name, u.last_name, u.phone, u.email "
                                            "FROM ew_user u JOIN ew_group g ON g.id = u.group_id WHERE u.id = ?"),
                             {ID});
    if (rows.isEmpty())
        return {};
    QStringList out;
    for (const QVariant& v : rows.front())
        out << v.toString();
    return out;
}

void Note(TSqlConnection& C, THistoryEvent Event, const QList<TPart>& Parts, const QStringList& Old,
          const QStringList& New, qint64 ID, bool PasswordSet = false) {
    SqlHistory::TEntry e;
    e.event = Event;
    const QStringList& named = New.isEmpty() ? Old : New;
    e.description = QStringLiteral("%1 (#%2)").arg(named.value(Event == THistoryEvent::heOperator ? 1 : 0)).arg(ID);
    for (int i = 0; i < Parts.size(); ++i)
        if (Old.value(i) != New.value(i))
            e.changes.append(SqlHistory::TChange{Parts[i].symbol, Parts[i].caption, Old.value(i), New.value(i)});
    if (PasswordSet)
        e.changes.append(SqlHistory::TChange{QStringLiteral("HASLO"), QStringLiteral("Hasło"), QString(),
                                             QStringLiteral("zmienione")});
    if (!e.changes.isEmpty() || New.isEmpty())
        SqlHistory::Append(C, e);
}

} // namespace

std::vector<TGroupData> Groups(TSqlConnection& C) {
    std::vector<TGroupData> out;
    for (const QVariantList& r : C.Rows(QStringLiteral("SELECT id, name, rights FROM ew_group ORDER BY id")))
        out.push_back(TGroupData{r[0].toLongLong(), r[1].toString(), r[2].toInt()});
    return out;
}

std::vector<TUserData> Users(TSqlConnection& C, qint64 GroupID) {
    std::vector<TUserData> out;
    const auto rows = C.Rows(QStringLiteral("SELECT id, group_id, login, first_name, last_name, phone, email "
                                            "FROM ew_user WHERE group_id = ? ORDER BY id"),
                             {GroupID});
    for (const QVariantList& r : rows) {
        TUserData u;
        u.id = r[0].toLongLong();
        u.groupId = r[1].toLongLong();
        u.login = r[2].toString();
        u.firstName = r[3].toString();
        u.lastName = r[4].toString();
        u.phone = r[5].toString();
        u.email = r[6].toString();
        out.push_back(std::move(u));
    }
    return out;
}

void PostGroup(TSqlConnection& C, TGroupData& G) {
    C.Require();
    if (G.name.trimmed().isEmpty())
        Fail(SqlErrors::ecEmptyName);
    TWriteScope scope(C);
    // Checked under the write lock, where no other desk can change the rights meanwhile.
    SqlAccess::Demand(C, SqlAccess::rtOperators);
    qint64 id = G.id;
    const QStringList old = StoredGroup(C, id);
    if (id == 0) {
        id =
            C.Insert(QStringLiteral("INSERT INTO ew_group (name, rights) VALUES (?, ?)"), {G.name, G.rights});
    } else {
        RequireStored(C, QStringLiteral("ew_group"), id);
        C.Exec(QStringLiteral("UPDATE ew_group SET name = ?, rights = ? WHERE id = ?"),
               {G.name, G.rights, id});
    }
    Note(C, THistoryEvent::heGroup, GroupParts(), old, StoredGroup(C, id), id);
    CheckAdministratorRemains(C);
    scope.Commit();
    G.id = id;
}

void PostUser(TSqlConnection& C, TUserData& U) {
    C.Require();
    if (U.login.trimmed().isEmpty())
        Fail(SqlErrors::ecEmptyName);
    if (U.groupId == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    // A new operator without a password gets the empty one. Hashing takes a moment,
    // so it is done before the write lock is taken.
    std::optional<QString> hash;
    if (U.password || U.id == 0)
        hash = SqlPassword::Hash(U.password.value_or(QString()));
    TWriteScope scope(C);
    // Checked under the write lock, where no other desk can change the rights meanwhile.
    SqlAccess::Demand(C, SqlAccess::rtOperators);
    const bool first = OperatorCount(C) == 0;
    if (!Exists(C, QStringLiteral("ew_group"), U.groupId))
        Fail(SqlErrors::ecRecordDeleted);
    CheckLoginFree(C, LoginKey(U.login), U.id);
    qint64 id = U.id;
    const QStringList old = StoredUser(C, id);
    if (id == 0) {
        id = InsertUser(C, U, *hash);
    } else {
        RequireStored(C, QStringLiteral("ew_user"), id);
        UpdateUser(C, U, hash);
    }
    Note(C, THistoryEvent::heOperator, UserParts(), old, StoredUser(C, id), id, U.password.has_value());
    CheckAdministratorRemains(C);
    scope.Commit();
    U.id = id;
    U.password.reset();
    // The first operator is an administrator (checked above) and whoever stored it is
    // logged in as it: otherwise the database would close under them at once.
    if (first)
        C.SetOperator(id);
}

void DeleteGroup(TSqlConnection& C, qint64 ID) {
    C.Require();
    TWriteScope scope(C);
    SqlAccess::Demand(C, SqlAccess::rtOperators);
    RequireStored(C, QStringLiteral("ew_group"), ID);
    for (const QVariantList& u : C.Rows(QStringLiteral("SELECT id FROM ew_user WHERE group_id = ? ORDER BY id"), {ID}))
        Note(C, THistoryEvent::heOperator, UserParts(), StoredUser(C, u[0].toLongLong()), {}, u[0].toLongLong());
    Note(C, THistoryEvent::heGroup, GroupParts(), StoredGroup(C, ID), {}, ID);
    C.Exec(QStringLiteral("DELETE FROM ew_group WHERE id = ?"), {ID}, SqlErrors::ecDeleteFailed);
    CheckAdministratorRemains(C);
    scope.Commit();
}

void DeleteUser(TSqlConnection& C, qint64 ID) {
    C.Require();
    TWriteScope scope(C);
    SqlAccess::Demand(C, SqlAccess::rtOperators);
    RequireStored(C, QStringLiteral("ew_user"), ID);
    Note(C, THistoryEvent::heOperator, UserParts(), StoredUser(C, ID), {}, ID);
    C.Exec(QStringLiteral("DELETE FROM ew_user WHERE id = ?"), {ID}, SqlErrors::ecDeleteFailed);
    CheckAdministratorRemains(C);
    scope.Commit();
}

int OperatorCount(TSqlConnection& C) {
    return C.Scalar(QStringLiteral("SELECT count(*) FROM ew_user"), {}, 0).toInt();
}

qint64 CheckLogin(TSqlConnection& C, const QString& Login, const QString& Password) {
    C.Require();
    const auto rows = C.Rows(QStringLiteral("SELECT id, password_hash FROM ew_user WHERE login_key = ?"),
                             {LoginKey(Login)});
    if (rows.isEmpty()) {
        SqlPassword::VerifyDummy(Password);
        Fail(SqlErrors::ecBadLogin);
    }
    const qint64 id = rows.front()[0].toLongLong();
    const QString hash = rows.front()[1].toString();
    if (!SqlPassword::Verify(hash, Password))
        Fail(SqlErrors::ecBadLogin);
    // Inside the root object's transaction a failed write would undo that transaction, so the
    // upgrade of an old hash waits for a login outside one.
    if (!C.InUserTransaction() && SqlPassword::NeedsRehash(hash)) {
        try {
            const QString fresh = SqlPassword::Hash(Password);
            TWriteScope scope(C);
            C.Exec(QStringLiteral("UPDATE ew_user SET password_hash = ? WHERE id = ?"), {fresh, id});
            scope.Commit();
        } catch (...) {
            // The old hash still verifies; a busy database must not refuse a correct password.
        }
    }
    return id;
}

std::optional<int32_t> UserRights(TSqlConnection& C, qint64 UserID) {
    const auto rows = C.Rows(
        QStringLiteral("SELECT g.rights FROM ew_user u JOIN ew_group g ON g.id = u.group_id WHERE u.id = ?"),
        {UserID});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front()[0].toInt();
}

} // namespace SqlOperatorStore
