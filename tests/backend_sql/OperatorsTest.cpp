// Operators and their groups: storing, moving and deleting, passwords kept only
// as Argon2id hashes, login, and the guard that always leaves an administrator.

#include "BackendFixture.h"

namespace {

constexpr int32_t kAdminRights = 31; // "Zarządzanie operatorami": bits 1, 2, 4, 8, 16
constexpr int32_t kViewRights = 16;  // "Przeglądanie danych"

TIntfPtr<IUserGroup> NewGroup(IEwidarDataBase* Db, const QString& Name, int32_t Rights) {
    auto g = Db->GetUsersGroups()->AddGroup();
    g->SetName(U(Name));
    g->SetUprawnienia(Rights);
    EXPECT_TRUE(g->Post()) << g->GetLastErrorCode();
    return g;
}

TIntfPtr<IUser> NewUser(IUserGroup* G, const QString& Login, const QString& Password) {
    auto u = G->GetUsers()->AddUser();
    u->SetLogin(U(Login));
    u->SetPassword(U(Password));
    u->SetFirstName(u"Jan");
    u->SetLastName(u"Kowalski");
    EXPECT_TRUE(u->Post()) << u->GetLastErrorCode();
    return u;
}

// Logins of every group, "group: login login" per group, as the operators window builds its tree.
QStringList Tree(IEwidarDataBase* Db) {
    QStringList out;
    auto groups = Db->GetUsersGroups();
    for (int i = 0; i < groups->GetCount(); ++i) {
        auto g = groups->GetItem(i);
        QString line = Q(g->GetName()) + QLatin1Char(':');
        auto users = g->GetUsers();
        for (int j = 0; j < users->GetCount(); ++j)
            line += QLatin1Char(' ') + Q(users->GetItem(j)->GetLogin());
        out.append(line);
    }
    return out;
}

} // namespace

using OperatorsTest = BackendTest;

TEST_F(OperatorsTest, GroupsAndOperatorsAreStoredAsWrittenAndReadBackInOrder) {
    auto admins = NewGroup(m_db.get(), QStringLiteral("  Administratorzy"), kAdminRights);
    auto odd = NewGroup(m_db.get(), QStringLiteral("Dziwne prawa ' OR 1=1 --"), -2147483647 - 1);
    EXPECT_GT(admins->GetID(), 0);
    NewUser(admins.get(), QStringLiteral("admin"), QStringLiteral("tajne"));
    auto u = admins->GetUsers()->AddUser();
    u->SetLogin(u"Łucja");
    u->SetFirstName(u"Łucja");
    u->SetLastName(u"Żółkiewska");
    u->SetPhone(u"+48 600 100 200");
    u->SetEmail(u"lucja@example.pl");
    ASSERT_TRUE(u->Post()) << u->GetLastErrorCode();

    auto db2 = Open(); // what another desk reads
    EXPECT_EQ(Tree(db2.get()), (QStringList{QStringLiteral("  Administratorzy: admin Łucja"),
                                            QStringLiteral("Dziwne prawa ' OR 1=1 --:")}));
    auto groups = db2->GetUsersGroups();
    EXPECT_EQ(groups->GetItem(0)->GetUprawnienia(), kAdminRights);
    EXPECT_EQ(groups->GetItem(1)->GetUprawnienia(), odd->GetUprawnienia()); // rights unchanged, any bits
    EXPECT_FALSE(groups->GetItem(2));
    EXPECT_FALSE(groups->GetItem(-1));
    auto lucja = groups->GetItem(0)->GetUsers()->GetItem(1);
    EXPECT_EQ(lucja->GetID(), u->GetID());
    EXPECT_EQ(Q(lucja->GetLastName()), QStringLiteral("Żółkiewska"));
    EXPECT_EQ(Q(lucja->GetPhone()), QStringLiteral("+48 600 100 200"));
    EXPECT_EQ(Q(lucja->GetEmail()), QStringLiteral("lucja@example.pl"));
    EXPECT_FALSE(groups->GetItem(0)->GetUsers()->GetItem(2));

    // A change of name and rights, read back by a fresh list (that desk logs in first).
    ASSERT_TRUE(db2->Login(u"admin", u"tajne"));
    auto g = groups->GetItem(1);
    g->SetName(u"Księgowość");
    g->SetUprawnienia(24);
    ASSERT_TRUE(g->Post());
    EXPECT_EQ(Q(db2->GetUsersGroups()->GetItem(1)->GetName()), QStringLiteral("Księgowość"));
    EXPECT_EQ(db2->GetUsersGroups()->GetItem(1)->GetUprawnienia(), 24);
    db2->Disconnect();
}

TEST_F(OperatorsTest, PasswordsAreStoredOnlyAsSaltedArgon2idHashes) {
    auto admins = NewGroup(m_db.get(), QStringLiteral("Admini"), kAdminRights);
    NewUser(admins.get(), QStringLiteral("a1"), QStringLiteral("Hasło-1"));
    NewUser(admins.get(), QStringLiteral("a2"), QStringLiteral("Hasło-1"));
    const QString h1 =
        RawScalar(m_path, QStringLiteral("SELECT password_hash FROM ew_user WHERE login = 'a1'")).toString();
    const QString h2 =
        RawScalar(m_path, QStringLiteral("SELECT password_hash FROM ew_user WHERE login = 'a2'")).toString();
    EXPECT_TRUE(h1.startsWith(QStringLiteral("$argon2id$"))) << h1.toStdString();
    EXPECT_NE(h1, h2); // the same password, another salt
    EXPECT_FALSE(h1.contains(QStringLiteral("Hasło")));
    // instr is case-sensitive and "ł" or "-" never occur in an encoded hash: no chance match.
    EXPECT_EQ(RawScalar(m_path, QStringLiteral(
                                    "SELECT count(*) FROM ew_user WHERE instr(password_hash, 'Hasło-1') > 0"))
                  .toInt(),
              0);
}

TEST_F(OperatorsTest, LoginChecksLoginAndPasswordAndWrongOnesGiveCode21) {
    // A fresh database needs no login and everyone may manage operators.
    EXPECT_TRUE(m_db->IsLoggedIn());
    EXPECT_TRUE(m_db->IsAdministrator());
    EXPECT_FALSE(m_db->Login(u"admin", u""));
    EXPECT_EQ(m_db->GetLastErrorCode(), 21);

    auto admins = NewGroup(m_db.get(), QStringLiteral("Admini"), kAdminRights);
    auto viewers = NewGroup(m_db.get(), QStringLiteral("Podgląd"), kViewRights);
    NewUser(admins.get(), QStringLiteral("Admin"), QStringLiteral("Zażółć gęślą jaźń"));
    NewUser(viewers.get(), QStringLiteral("jan"), QString());
    // Whoever stored the first operator is logged in as it; after a logout nobody is.
    EXPECT_TRUE(m_db->IsAdministrator());
    m_db->Logout();
    EXPECT_FALSE(m_db->IsLoggedIn()); // operators exist now
    EXPECT_FALSE(m_db->IsAdministrator());

    struct TCase {
        const char16_t* login;
        const char16_t* password;
        bool ok;
    };
    const TCase cases[] = {
        {u"Admin", u"Zażółć gęślą jaźń", true},
        {u"  ADMIN ", u"Zażółć gęślą jaźń", true}, // login ignores case
        {u"Admin", u"zażółć gęślą jaźń", false},
        {u"Admin", u"Zażółć gęślą jaźń ", false},
        {u"Admin", u"", false},
        {u"nikt", u"Zażółć gęślą jaźń", false},
        {u"' OR 1=1 --", u"x", false},
        {u"", u"", false},
        {u"jan", u"", true},
        {u"jan", u" ", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Q(c.login).toStdString() + " / " + Q(c.password).toStdString());
        EXPECT_EQ(m_db->Login(c.login, c.password), c.ok);
        EXPECT_EQ(m_db->GetLastErrorCode(), c.ok ? 0 : 21);
        EXPECT_EQ(m_db->IsLoggedIn(), c.ok); // a failed login leaves nobody logged in
    }

    ASSERT_TRUE(m_db->Login(u"jan", u""));
    EXPECT_FALSE(m_db->IsAdministrator()); // bit 1 missing
    ASSERT_TRUE(m_db->Login(u"admin", u"Zażółć gęślą jaźń"));
    EXPECT_TRUE(m_db->IsAdministrator());
    m_db->Logout();
    EXPECT_FALSE(m_db->IsLoggedIn());
    EXPECT_FALSE(m_db->IsAdministrator());
    // A login belongs to one connection.
    ASSERT_TRUE(m_db->Login(u"admin", u"Zażółć gęślą jaźń"));
    auto db2 = Open();
    EXPECT_FALSE(db2->IsLoggedIn());
    db2->Disconnect();
    m_db->Disconnect();
    m_db = Open();
    EXPECT_FALSE(m_db->IsLoggedIn());
}

TEST_F(OperatorsTest, ChangedPasswordReplacesTheOldOneAndRightsApplyAtOnce) {
    auto admins = NewGroup(m_db.get(), QStringLiteral("Admini"), kAdminRights);
    auto others = NewGroup(m_db.get(), QStringLiteral("Inni"), 28);
    NewUser(admins.get(), QStringLiteral("szef"), QStringLiteral("szef"));
    auto ola = NewUser(others.get(), QStringLiteral("ola"), QStringLiteral("stare"));
    // Changing other data keeps the password; a new one replaces it.
    ola->SetEmail(u"ola@biuro.pl");
    ASSERT_TRUE(ola->Post());
    ASSERT_TRUE(m_db->Login(u"ola", u"stare"));
    // Only an administrator changes operators, her own password included.
    ola->SetPassword(u"nowe");
    EXPECT_FALSE(ola->Post());
    EXPECT_EQ(ola->GetLastErrorCode(), 1015);
    ASSERT_TRUE(m_db->Login(u"szef", u"szef"));
    ola->SetPassword(u"nowe");
    ASSERT_TRUE(ola->Post());
    EXPECT_FALSE(m_db->Login(u"ola", u"stare"));
    ASSERT_TRUE(m_db->Login(u"ola", u"nowe"));
    EXPECT_FALSE(m_db->IsAdministrator());
    // Another desk gives her group the top level: her session sees it without logging in again.
    auto db2 = Open();
    ASSERT_TRUE(db2->Login(u"szef", u"szef"));
    auto g = db2->GetUsersGroups()->GetItem(1);
    g->SetUprawnienia(kAdminRights);
    ASSERT_TRUE(g->Post());
    EXPECT_TRUE(m_db->IsAdministrator());
    // Deleted meanwhile: logged in no more.
    auto olaThere = g->GetUsers()->GetItem(0);
    ASSERT_TRUE(olaThere->Delete()) << olaThere->GetLastErrorCode();
    EXPECT_FALSE(m_db->IsLoggedIn());
    EXPECT_FALSE(m_db->IsAdministrator());
    db2->Disconnect();
}

TEST_F(OperatorsTest, MovingAnOperatorToAnotherGroup) {
    auto admins = NewGroup(m_db.get(), QStringLiteral("A"), kAdminRights);
    auto b = NewGroup(m_db.get(), QStringLiteral("B"), kViewRights);
    NewUser(admins.get(), QStringLiteral("root"), QStringLiteral("r"));
    auto jan = NewUser(admins.get(), QStringLiteral("jan"), QStringLiteral("j"));
    jan->SetUserGroup(b.get());
    EXPECT_EQ(jan->GetLastErrorCode(), 0);
    ASSERT_TRUE(jan->Post()) << jan->GetLastErrorCode();
    EXPECT_EQ(Tree(m_db.get()), (QStringList{QStringLiteral("A: root"), QStringLiteral("B: jan")}));
    EXPECT_TRUE(m_db->Login(u"jan", u"j")); // the password moved with him
    ASSERT_TRUE(m_db->Login(u"root", u"r"));

    // A group never stored, or none, is refused and changes nothing.
    auto unsaved = m_db->GetUsersGroups()->AddGroup();
    jan->SetUserGroup(unsaved.get());
    EXPECT_EQ(jan->GetLastErrorCode(), 104);
    jan->SetUserGroup(nullptr);
    EXPECT_EQ(jan->GetLastErrorCode(), 104);
    ASSERT_TRUE(jan->Post());
    EXPECT_EQ(Tree(m_db.get()), (QStringList{QStringLiteral("A: root"), QStringLiteral("B: jan")}));
    // A group deleted meanwhile.
    auto c = NewGroup(m_db.get(), QStringLiteral("C"), kViewRights);
    jan->SetUserGroup(c.get());
    ASSERT_TRUE(c->Delete());
    EXPECT_FALSE(jan->Post());
    EXPECT_EQ(jan->GetLastErrorCode(), 106);
}

TEST_F(OperatorsTest, DeletingAGroupDeletesItsOperators) {
    auto admins = NewGroup(m_db.get(), QStringLiteral("A"), kAdminRights);
    auto b = NewGroup(m_db.get(), QStringLiteral("B"), kViewRights);
    NewUser(admins.get(), QStringLiteral("root"), QStringLiteral("r"));
    NewUser(b.get(), QStringLiteral("x"), QStringLiteral("x"));
    NewUser(b.get(), QStringLiteral("y"), QStringLiteral("y"));
    ASSERT_TRUE(b->Delete()) << b->GetLastErrorCode();
    EXPECT_EQ(Tree(m_db.get()), QStringList{QStringLiteral("A: root")});
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_user")).toInt(), 1);
    EXPECT_FALSE(m_db->Login(u"x", u"x"));
    ASSERT_TRUE(m_db->Login(u"root", u"r")); // a failed login left nobody logged in
    EXPECT_FALSE(b->Delete());
    EXPECT_EQ(b->GetLastErrorCode(), 106);
    EXPECT_FALSE(b->Post()); // a deleted group is not brought back by a change
    EXPECT_EQ(b->GetLastErrorCode(), 106);
    auto never = m_db->GetUsersGroups()->AddGroup();
    EXPECT_FALSE(never->Delete());
    EXPECT_EQ(never->GetLastErrorCode(), 104);
    // Deleting every operator opens the database to everyone again.
    ASSERT_TRUE(admins->Delete()) << admins->GetLastErrorCode();
    EXPECT_TRUE(m_db->IsLoggedIn());
    EXPECT_TRUE(m_db->IsAdministrator());
}

TEST_F(OperatorsTest, BadInputIsRefusedWithItsCodeAndStoresNothing) {
    auto blank = m_db->GetUsersGroups()->AddGroup();
    blank->SetName(u"   ");
    EXPECT_FALSE(blank->Post());
    EXPECT_EQ(blank->GetLastErrorCode(), 1001);
    EXPECT_EQ(blank->GetID(), 0);

    auto admins = NewGroup(m_db.get(), QStringLiteral("A"), kAdminRights);
    NewUser(admins.get(), QStringLiteral("Kasia"), QStringLiteral("k"));
    auto u = admins->GetUsers()->AddUser();
    u->SetLogin(u" \t");
    EXPECT_FALSE(u->Post());
    EXPECT_EQ(u->GetLastErrorCode(), 1001);
    u->SetLogin(u" KASIA ");
    EXPECT_FALSE(u->Post());
    EXPECT_EQ(u->GetLastErrorCode(), 1002);
    EXPECT_EQ(u->GetID(), 0);
    // An operator of a group posted after it was added joins that group.
    auto later = m_db->GetUsersGroups()->AddGroup();
    later->SetName(u"Później");
    later->SetUprawnienia(kViewRights);
    auto early = later->GetUsers()->AddUser();
    early->SetLogin(u"early");
    EXPECT_FALSE(early->Post());
    EXPECT_EQ(early->GetLastErrorCode(), 104);
    ASSERT_TRUE(later->Post());
    ASSERT_TRUE(early->Post()) << early->GetLastErrorCode();
    EXPECT_EQ(Tree(m_db.get()).value(1), QStringLiteral("Później: early"));
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_user")).toInt(), 2);
}

TEST_F(OperatorsTest, AnAdministratorAlwaysRemainsWhileOperatorsExist) {
    auto viewers = NewGroup(m_db.get(), QStringLiteral("Podgląd"), kViewRights);
    // The first operator may not lock everyone out.
    auto u = viewers->GetUsers()->AddUser();
    u->SetLogin(u"jan");
    EXPECT_FALSE(u->Post());
    EXPECT_EQ(u->GetLastErrorCode(), 1003);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_user")).toInt(), 0);

    auto admins = NewGroup(m_db.get(), QStringLiteral("Admini"), kAdminRights);
    auto root = NewUser(admins.get(), QStringLiteral("root"), QStringLiteral("r"));
    ASSERT_TRUE(u->Post());
    // Each change that would leave no administrator is refused and undone.
    admins->SetUprawnienia(30);
    EXPECT_FALSE(admins->Post());
    EXPECT_EQ(admins->GetLastErrorCode(), 1003);
    root->SetUserGroup(viewers.get());
    EXPECT_FALSE(root->Post());
    EXPECT_EQ(root->GetLastErrorCode(), 1003);
    EXPECT_FALSE(root->Delete());
    EXPECT_EQ(root->GetLastErrorCode(), 1003);
    EXPECT_FALSE(admins->Delete());
    EXPECT_EQ(admins->GetLastErrorCode(), 1003);
    EXPECT_EQ(Tree(m_db.get()),
              (QStringList{QStringLiteral("Podgląd: jan"), QStringLiteral("Admini: root")}));
    EXPECT_EQ(m_db->GetUsersGroups()->GetItem(1)->GetUprawnienia(), kAdminRights);
    // With a second administrator the first may go.
    NewUser(admins.get(), QStringLiteral("root2"), QStringLiteral("r"));
    EXPECT_TRUE(root->Delete()) << root->GetLastErrorCode();
}
