#include "uAccessRights.h"

namespace AccessRights {

namespace {

constexpr int32_t kAllLevels = 31;

QString LoginKey(const QString& Login) {
    return Login.trimmed().toCaseFolded();
}

} // namespace

bool Grants(int32_t Rights, int32_t Right) {
    const int32_t levels = Rights & kAllLevels;
    return levels != 0 && (levels & -levels) <= Right;
}

TAccess Read(IEwidarDataBase* Root, const QString& Login) {
    TAccess a;
    if (!Root) {
        a.loggedIn = true;
        a.rights = kAllLevels;
        return a;
    }
    TIntfPtr<IUsersGroup> groups = Root->GetUsersGroups();
    int32_t found = kAllLevels; // a login the groups do not list: the backend alone decides
    const QString key = LoginKey(Login);
    for (int32_t i = 0; groups && i < groups->GetCount(); ++i) {
        TIntfPtr<IUserGroup> group = groups->GetItem(i);
        TIntfPtr<IUsers> users = group ? group->GetUsers() : TIntfPtr<IUsers>();
        for (int32_t j = 0; users && j < users->GetCount(); ++j) {
            a.operatorsExist = true;
            TIntfPtr<IUser> user = users->GetItem(j);
            if (user && !key.isEmpty() && LoginKey(QString::fromStdU16String(user->GetLogin())) == key)
                found = group->GetUprawnienia();
        }
    }
    a.loggedIn = Root->IsLoggedIn();
    // A backend that does not list its operators still asks for a login or accepted one.
    a.operatorsExist = a.operatorsExist || !a.loggedIn || !key.isEmpty();
    if (!a.operatorsExist || Root->IsAdministrator())
        a.rights = kAllLevels;
    else if (a.loggedIn)
        a.rights = found;
    return a;
}

} // namespace AccessRights
