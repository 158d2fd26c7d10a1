// Access rules: while a database has operators, nobody reads or changes data without
// logging in, and each of the five rights levels allows what its caption says, on
// every entry point of the backend, checked against the rights stored at that moment.

#include "BackendFixture.h"
#include "uEwidarQuorDBSymbole.h"

namespace {

constexpr int kPodmiot = 21;
constexpr int kNotLoggedIn = 1011;
constexpr int kNoView = 1012;
constexpr int kNoModify = 1013;
constexpr int kNoCreate = 1014;
constexpr int kNoOperators = 1015;

TIntfPtr<IUserGroup> StoreGroup(IEwidarDataBase* Db, const QString& Name, int32_t Rights) {
    auto g = Db->GetUsersGroups()->AddGroup();
    g->SetName(U(Name));
    g->SetUprawnienia(Rights);
    EXPECT_TRUE(g->Post()) << g->GetLastErrorCode();
    return g;
}

void StoreUser(IUserGroup* G, const QString& Login) {
    auto u = G->GetUsers()->AddUser();
    u->SetLogin(U(Login));
    u->SetPassword(u"hasło");
    EXPECT_TRUE(u->Post()) << u->GetLastErrorCode();
}

// The group of the given name as a fresh list reads it.
TIntfPtr<IUserGroup> GroupNamed(IEwidarDataBase* Db, const QString& Name) {
    auto groups = Db->GetUsersGroups();
    for (int i = 0; groups && i < groups->GetCount(); ++i)
        if (Q(groups->GetItem(i)->GetName()) == Name)
            return groups->GetItem(i);
    return {};
}

QString BankName(int Row) {
    return QStringLiteral("Bank %1").arg(Row);
}

// The first record of the banks list whose name is Name, fetched by this desk (its values not yet read).
TIntfPtr<IEwidarRecord> BankFor(IEwidarDataBase* Db, const QString& Name) {
    auto list = Db->GetRegistries()->GetDaneBankow(U(Name));
    return list && list->GetCount() > 0 ? list->GetItem(0) : TIntfPtr<IEwidarRecord>();
}

} // namespace

class AccessTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped())
            return;
        // The first operator: whoever stores it is logged in as it.
        auto admins = StoreGroup(m_db.get(), QStringLiteral("Administratorzy"), 31);
        StoreUser(admins.get(), QStringLiteral("admin"));
        ASSERT_TRUE(m_db->IsAdministrator());
        for (const int32_t rights : {30, 28, 24, 16}) {
            auto g = StoreGroup(m_db.get(), QStringLiteral("Poziom %1").arg(rights), rights);
            StoreUser(g.get(), QStringLiteral("op%1").arg(rights));
        }
        m_podatnik = NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Nowak"));
        m_osoba = Supports<IPracownik>(Reg()->GetPracownicy({})->NewForPodatnik(nullptr));
        SetValue(m_osoba.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Wolny"));
        ASSERT_TRUE(m_osoba && m_osoba->Post());
    }

    TIntfPtr<IEwidarRecord> m_podatnik;
    TIntfPtr<IPracownik> m_osoba;
};

// Every level and nobody logged in, on a second desk, against each entry point: the
// code each action gives (0 when it is allowed).
TEST_F(AccessTest, EachLevelAllowsWhatItsCaptionSaysAndNobodyLoggedInNothing) {
    struct TRow {
        const char* login; // nullptr: nobody logged in
        int list, read, post, create, remove, link, words, field, import, operators;
    };
    const TRow rows[] = {
        {nullptr, kNotLoggedIn, kNotLoggedIn, kNotLoggedIn, kNotLoggedIn, kNotLoggedIn, kNotLoggedIn,
         kNotLoggedIn, kNotLoggedIn, kNotLoggedIn, kNotLoggedIn},
        {"op16", 0, 0, kNoModify, kNoCreate, kNoCreate, kNoModify, kNoModify, kNoCreate, kNoOperators,
         kNoOperators},
        {"op24", 0, 0, 0, kNoCreate, kNoCreate, 0, 0, kNoCreate, kNoOperators, kNoOperators},
        {"op28", 0, 0, 0, 0, 0, 0, 0, 0, kNoOperators, kNoOperators},
        {"op30", 0, 0, 0, 0, 0, 0, 0, 0, kNoOperators, kNoOperators},
        {"admin", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    auto source = Open(AnotherDataBase()); // a database without operators: open to everyone
    NewPosted(source->GetRegistries()->GetSadyRejonowe({}).get(), cDaneSaduRejonowegoNazwa.Symbol,
              QStringLiteral("Sąd Rejonowy"));
    auto desk = Open();
    int row = 0;
    for (const TRow& r : rows) {
        ++row;
        const QString login = r.login ? QString::fromLatin1(r.login) : QStringLiteral("nikt");
        SCOPED_TRACE(login.toStdString());
        // What this row works on, fetched by the desk while its administrator is logged in.
        NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, BankName(row));
        NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol,
                  BankName(row) + QStringLiteral("x"));
        ASSERT_TRUE(desk->Login(u"admin", u"hasło"));
        auto toRead = BankFor(desk.get(), BankName(row));
        auto toDelete = BankFor(desk.get(), BankName(row) + QStringLiteral("x"));
        auto toPost = BankFor(desk.get(), BankName(row));
        ASSERT_FALSE(Value(toPost.get(), cDaneBankuNazwa.Symbol).isEmpty());
        auto podatnik = Supports<IPodatnik>(desk->GetRegistries()->GetPodatnicy(u"Nowak")->GetItem(0));
        ASSERT_TRUE(podatnik);
        auto people = podatnik->GetPracownicy(0, 0);
        auto words = desk->GetSlownikProvider(0)->GetSlownik(kPodmiot);
        auto fields = desk->GetDynamicFieldsProvider(0)->GetDynamicFields(kPodmiot);
        auto ownGroup = GroupNamed(desk.get(), r.login && login != QStringLiteral("admin")
                                                   ? QStringLiteral("Poziom %1").arg(login.mid(2))
                                                   : QStringLiteral("Poziom 16"));
        ASSERT_TRUE(ownGroup);
        desk->Logout();
        if (r.login) {
            ASSERT_TRUE(desk->Login(U(login), u"hasło"));
        }

        auto list = desk->GetRegistries()->GetDaneBankow({});
        const int listed = list->GetCount();
        EXPECT_EQ(list->GetLastErrorCode(), r.list);
        EXPECT_EQ(listed > 0, r.list == 0);

        auto readFields = toRead->GetDataFields(); // none when the read is refused
        const QString name = readFields ? Value(toRead.get(), cDaneBankuNazwa.Symbol) : QString();
        EXPECT_EQ(toRead->GetLastErrorCode(), r.read);
        EXPECT_EQ(name == BankName(row), r.read == 0);

        SetValue(toPost.get(), cDaneBankuNazwa.Symbol, BankName(row) + QStringLiteral(" zmieniony"));
        EXPECT_EQ(toPost->Post() ? 0 : toPost->GetLastErrorCode(), r.post);

        auto fresh = list->New();
        int created = list->GetLastErrorCode();
        if (fresh) {
            SetValue(fresh.get(), cDaneBankuNazwa.Symbol, QStringLiteral("Nowy bank"));
            created = fresh->Post() ? 0 : fresh->GetLastErrorCode();
        }
        EXPECT_EQ(created, r.create);

        EXPECT_EQ(toDelete->Delete() ? 0 : toDelete->GetLastErrorCode(), r.remove);

        people->AddExisting(m_osoba.get());
        EXPECT_EQ(people->GetLastErrorCode(), r.link);

        words->GetWordList(U(cUwagi.Symbol))->AddWord(U(QStringLiteral("słowo %1").arg(row)));
        EXPECT_EQ(words->Post() ? 0 : words->GetLastErrorCode(), r.words);

        auto field = fields->AddField();
        field->SetSymbol(U(QStringLiteral("POLE%1").arg(row)));
        field->SetDescription(u"Pole");
        field->SetFieldType(u"ctMemo");
        EXPECT_EQ(field->PostDefinition() ? 0 : field->GetLastErrorCode(), r.field);

        EXPECT_EQ(desk->ImportFrom(source.get()) ? 0 : desk->GetLastErrorCode(), r.import);

        // Raising one's own group (the viewers' when nobody is logged in) to the top level.
        ownGroup->SetUprawnienia(31);
        EXPECT_EQ(ownGroup->Post() ? 0 : ownGroup->GetLastErrorCode(), r.operators);
        auto stranger = ownGroup->GetUsers()->AddUser();
        stranger->SetLogin(U(QStringLiteral("intruz%1").arg(row)));
        EXPECT_EQ(stranger->Post() ? 0 : stranger->GetLastErrorCode(), r.operators);
        EXPECT_EQ(desk->IsAdministrator(), r.operators == 0);
        if (r.operators == 0) { // put the viewers' level back for the rows that follow
            ownGroup->SetUprawnienia(16);
            ASSERT_TRUE(ownGroup->Post());
        }
        desk->Logout();
    }
    // Nothing refused reached the database: every group keeps its level.
    for (const int32_t rights : {30, 28, 24, 16})
        EXPECT_EQ(GroupNamed(m_db.get(), QStringLiteral("Poziom %1").arg(rights))->GetUprawnienia(), rights);
    desk->Disconnect();
    source->Disconnect();
}

// An administrator whose group another desk lowers meanwhile: the next change through
// objects fetched while the rights were high is judged by the rights stored now.
TEST_F(AccessTest, RightsLoweredByAnotherDeskApplyAtTheNextAction) {
    auto second = StoreGroup(m_db.get(), QStringLiteral("Drudzy"), 31);
    StoreUser(second.get(), QStringLiteral("drugi"));
    auto desk = Open();
    ASSERT_TRUE(desk->Login(u"drugi", u"hasło"));
    auto viewers = GroupNamed(desk.get(), QStringLiteral("Poziom 16"));
    auto podatnik = desk->GetRegistries()->GetPodatnicy({})->GetItem(0);
    ASSERT_EQ(Value(podatnik.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Nowak"));
    ASSERT_TRUE(desk->IsAdministrator());

    second->SetUprawnienia(16); // the first desk demotes "drugi" to viewing
    ASSERT_TRUE(second->Post()) << second->GetLastErrorCode();

    viewers->SetUprawnienia(31);
    EXPECT_FALSE(viewers->Post());
    EXPECT_EQ(viewers->GetLastErrorCode(), kNoOperators);
    SetValue(podatnik.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zmieniona"));
    EXPECT_FALSE(podatnik->Post());
    EXPECT_EQ(podatnik->GetLastErrorCode(), kNoModify);
    EXPECT_FALSE(desk->IsAdministrator());
    EXPECT_EQ(desk->GetRegistries()->GetPodatnicy({})->GetCount(), 1); // still reads

    second->SetUprawnienia(0); // a group without any level reads nothing
    ASSERT_TRUE(second->Post());
    auto list = desk->GetRegistries()->GetPodatnicy({});
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetLastErrorCode(), kNoView);
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT rights FROM ew_group WHERE name = 'Poziom 16'")).toInt(),
        16);
    desk->Disconnect();
}

// The rules belong to the database's operators: without any, everyone reads and changes
// everything, and deleting the last operator opens the database again.
TEST_F(AccessTest, ADatabaseWithoutOperatorsIsOpenToEveryone) {
    auto desk = Open();
    auto refused = desk->GetRegistries()->GetPodatnicy({});
    EXPECT_EQ(refused->GetCount(), 0);
    EXPECT_EQ(refused->GetLastErrorCode(), kNotLoggedIn);
    for (const int32_t rights : {30, 28, 24, 16})
        ASSERT_TRUE(GroupNamed(m_db.get(), QStringLiteral("Poziom %1").arg(rights))->Delete());
    ASSERT_TRUE(GroupNamed(m_db.get(), QStringLiteral("Administratorzy"))->Delete());
    EXPECT_EQ(desk->GetRegistries()->GetPodatnicy({})->GetCount(), 1);
    EXPECT_TRUE(desk->IsAdministrator());
    auto bank = NewPosted(desk->GetRegistries()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol,
                          QStringLiteral("Wolny bank"));
    EXPECT_TRUE(bank && bank->Delete());
    desk->Disconnect();
}
