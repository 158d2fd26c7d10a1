#include "uSqlOperators.h"

#include "uSqlErrors.h"
#include "uSqlOperatorStore.h"

#include <memory>

using SqlOperatorStore::TGroupData;
using SqlOperatorStore::TUserData;

namespace {

// A group's data, shared by the group object and the operators added to it, so
// that operators of a group posted after them still find its identifier.
using TGroupPtr = std::shared_ptr<TGroupData>;

QString Text(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

class TSqlUser final : public TInterfacedObject<IUser> {
public:
    TSqlUser(TSqlConnectionPtr C, TUserData D, TGroupPtr NewIn = nullptr)
        : m_c(std::move(C)), m_d(std::move(D)), m_newIn(std::move(NewIn)) {}

    int32_t GetLastErrorCode() override { return m_error; }
    bool Post() override {
        return GuardedBool(m_error, [&] {
            if (m_newIn && m_d.groupId == 0)
                m_d.groupId = m_newIn->id;
            SqlOperatorStore::PostUser(*m_c, m_d);
        });
    }
    bool Delete() override {
        return GuardedBool(m_error, [&] { SqlOperatorStore::DeleteUser(*m_c, m_d.id); });
    }

    int32_t GetID() override { return static_cast<int32_t>(m_d.id); }
    void SetLogin(const std::u16string& T) override { m_d.login = Text(T); }
    std::u16string GetLogin() override { return m_d.login.toStdU16String(); }
    void SetPassword(const std::u16string& T) override { m_d.password = Text(T); }
    void SetUserGroup(IUserGroup* Group) override {
        m_error = 0;
        const int32_t id = Group ? Group->GetID() : 0;
        if (id == 0) { // no group, or one never stored: nothing to move into
            m_error = SqlErrors::ecNoPrimaryKey;
            return;
        }
        m_d.groupId = id;
        m_newIn.reset();
    }
    void SetFirstName(const std::u16string& T) override { m_d.firstName = Text(T); }
    std::u16string GetFirstName() override { return m_d.firstName.toStdU16String(); }
    void SetLastName(const std::u16string& T) override { m_d.lastName = Text(T); }
    std::u16string GetLastName() override { return m_d.lastName.toStdU16String(); }
    void SetPhone(const std::u16string& T) override { m_d.phone = Text(T); }
    std::u16string GetPhone() override { return m_d.phone.toStdU16String(); }
    void SetEmail(const std::u16string& T) override { m_d.email = Text(T); }
    std::u16string GetEmail() override { return m_d.email.toStdU16String(); }

private:
    TSqlConnectionPtr m_c;
    TUserData m_d;
    TGroupPtr m_newIn; // the group a new operator was added to
    int32_t m_error = 0;
};

// IUsers has no error code: a list that cannot be read is empty.
class TSqlUsers final : public TInterfacedObject<IUsers> {
public:
    TSqlUsers(TSqlConnectionPtr C, TGroupPtr G) : m_c(std::move(C)), m_g(std::move(G)) {}

    int32_t GetCount() override { return static_cast<int32_t>(Loaded().size()); }
    TIntfPtr<IUser> GetItem(int32_t Index) override {
        const auto& users = Loaded();
        if (Index < 0 || static_cast<size_t>(Index) >= users.size())
            return {};
        return MakeIntf<IUser, TSqlUser>(m_c, users[Index]);
    }
    TIntfPtr<IUser> AddUser() override { return MakeIntf<IUser, TSqlUser>(m_c, TUserData{}, m_g); }

private:
    const std::vector<TUserData>& Loaded() {
        if (!m_loaded && m_g->id != 0) {
            try {
                m_users = SqlOperatorStore::Users(*m_c, m_g->id);
                m_loaded = true;
            } catch (...) {
                m_users.clear();
            }
        }
        return m_users;
    }

    TSqlConnectionPtr m_c;
    TGroupPtr m_g;
    std::vector<TUserData> m_users;
    bool m_loaded = false;
};

class TSqlUserGroup final : public TInterfacedObject<IUserGroup> {
public:
    TSqlUserGroup(TSqlConnectionPtr C, TGroupPtr G) : m_c(std::move(C)), m_g(std::move(G)) {}

    int32_t GetLastErrorCode() override { return m_error; }
    bool Post() override {
        return GuardedBool(m_error, [&] { SqlOperatorStore::PostGroup(*m_c, *m_g); });
    }
    bool Delete() override {
        return GuardedBool(m_error, [&] { SqlOperatorStore::DeleteGroup(*m_c, m_g->id); });
    }

    int32_t GetID() override { return static_cast<int32_t>(m_g->id); }
    void SetName(const std::u16string& T) override { m_g->name = Text(T); }
    std::u16string GetName() override { return m_g->name.toStdU16String(); }
    void SetUprawnienia(int32_t Rights) override { m_g->rights = Rights; }
    int32_t GetUprawnienia() override { return m_g->rights; }
    TIntfPtr<IUsers> GetUsers() override { return MakeIntf<IUsers, TSqlUsers>(m_c, m_g); }

private:
    TSqlConnectionPtr m_c;
    TGroupPtr m_g;
    int32_t m_error = 0;
};

class TSqlUsersGroup final : public TInterfacedObject<IUsersGroup> {
public:
    explicit TSqlUsersGroup(TSqlConnectionPtr C) : m_c(std::move(C)) {}

    int32_t GetCount() override {
        Load();
        return static_cast<int32_t>(m_groups.size());
    }
    TIntfPtr<IUserGroup> GetItem(int32_t Index) override {
        Load();
        if (Index < 0 || static_cast<size_t>(Index) >= m_groups.size())
            return {};
        return MakeIntf<IUserGroup, TSqlUserGroup>(m_c, m_groups[Index]);
    }
    TIntfPtr<IUserGroup> AddGroup() override {
        return MakeIntf<IUserGroup, TSqlUserGroup>(m_c, std::make_shared<TGroupData>());
    }

private:
    // IUsersGroup has no error code: a list that cannot be read is empty.
    void Load() {
        if (m_loaded)
            return;
        try {
            for (TGroupData& g : SqlOperatorStore::Groups(*m_c))
                m_groups.push_back(std::make_shared<TGroupData>(std::move(g)));
            m_loaded = true;
        } catch (...) {
            m_groups.clear();
        }
    }

    TSqlConnectionPtr m_c;
    std::vector<TGroupPtr> m_groups;
    bool m_loaded = false;
};

} // namespace

TIntfPtr<IUsersGroup> MakeUsersGroups(const TSqlConnectionPtr& C) {
    return MakeIntf<IUsersGroup, TSqlUsersGroup>(C);
}
