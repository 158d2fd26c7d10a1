// The history of changes: what each kind of event leaves, that a rolled-back change
// leaves nothing, that desks appending at once still build one chain, that the chain
// check finds a row changed, removed or added outside the program, and that no password
// or hash is ever written into it.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "uEwidarQuorDBSymbole.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <functional>

namespace {

constexpr int kPodmiot = 21;
constexpr int kDaneZUS = 7;

// One entry as "event/kind record: SYMBOL old>new, ..." (record as r<n>, n counted from the
// records the test made, so identifiers of either engine read the same).
QString Show(const THistoryEntry& E, const QHash<qint64, QString>& Names) {
    QStringList parts;
    for (const THistoryChange& c : E.Changes)
        parts << QStringLiteral("%1 %2>%3").arg(Q(c.Symbol), Q(c.OldValue), Q(c.NewValue));
    const QString record = E.RecordID == 0 ? QStringLiteral("-") : Names.value(E.RecordID, QStringLiteral("?"));
    return QStringLiteral("%1/%2 %3: %4").arg(int(E.Event)).arg(E.Kind).arg(record, parts.join(QStringLiteral(", ")));
}

std::vector<THistoryEntry> All(IEwidarDataBase* Db) {
    std::vector<THistoryEntry> out;
    auto h = Db->GetHistory();
    EXPECT_TRUE(h);
    THistoryFilter f;
    f.Limit = 100000;
    EXPECT_TRUE(h->Query(f, out)) << h->GetLastErrorCode();
    return out;
}

qint64 LastSeq(IEwidarDataBase* Db) {
    const auto all = All(Db);
    qint64 seq = 0;
    for (const THistoryEntry& e : all)
        seq = std::max<qint64>(seq, e.Seq);
    return seq;
}

// Entries after Seq, oldest first.
QStringList After(IEwidarDataBase* Db, qint64 Seq, const QHash<qint64, QString>& Names) {
    auto all = All(Db);
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.Seq < b.Seq; });
    QStringList out;
    for (const THistoryEntry& e : all)
        if (e.Seq > Seq)
            out << Show(e, Names);
    return out;
}

QString Verdict(IEwidarDataBase* Db) {
    int64_t broken = -1;
    std::u16string reason;
    auto h = Db->GetHistory();
    if (!h->Verify(broken, reason))
        return QStringLiteral("error %1").arg(h->GetLastErrorCode());
    return broken == 0 ? QStringLiteral("ok") : QStringLiteral("%1: %2").arg(broken).arg(Q(reason));
}

// Every value of every row of a query, read past the program.
QStringList RawColumn(const QString& Path, const QString& Sql) {
    const QString name = QUuid::createUuid().toString();
    QStringList all;
    {
        QSqlDatabase db = AddRawConnection(name, Path);
        if (db.open()) {
            QSqlQuery q(Sql, db);
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    all << q.value(i).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return all;
}

QString RawHistory(const QString& Path) {
    return RawColumn(Path, QStringLiteral("SELECT * FROM ew_history")).join(u'|');
}

bool RawExec(const QString& Path, const QStringList& Sql) {
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = AddRawConnection(name, Path);
        ok = db.open();
        for (const QString& s : Sql)
            ok = ok && QSqlQuery(db).exec(s);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

using HistoryTest = BackendTest;

// Every kind of event, one after another on one database: each step leaves exactly the
// entries listed (new values of a new record, only the fields that changed, links with
// their old and new target, deleted records with the values they had).
TEST_F(HistoryTest, EachKindOfEventLeavesExactlyItsEntries) {
    auto reg = Reg();
    QHash<qint64, QString> names;
    TIntfPtr<IPodmiot> p;
    TIntfPtr<IEwidarRecord> zus, address, osoba;
    TIntfPtr<IDynamicField> def;
    TIntfPtr<IUserGroup> group;
    TIntfPtr<IUser> user;
    auto name = [&names](IEwidarRecord* R, const QString& N) { names.insert(R->GetID(), N); };
    const QString imie = cDanePodmiotuPierwszeImie.Symbol, nazwisko = cDanePodmiotuNazwisko.Symbol;
    const QString miasto = cDaneAdresoweMiejscowosc.Symbol, zusName = cDaneZUSNazwa.Symbol;

    struct TStep {
        const char* what;
        std::function<void()> act;
        QStringList expected;
    };
    const std::vector<TStep> steps = {
        {"new taxpayer",
         [&] {
             p = Supports<IPodmiot>(reg->GetPodatnicy({})->New());
             SetValue(p.get(), imie, QStringLiteral("Jan"));
             SetValue(p.get(), nazwisko, QStringLiteral("Nowak"));
             ASSERT_TRUE(p->Post());
             name(p.get(), QStringLiteral("p"));
         },
         {QStringLiteral("1/21 p: %1 >Nowak, %2 >Jan").arg(nazwisko, imie)}},
        {"changed field, and a field changed and changed back",
         [&] {
             SetValue(p.get(), nazwisko, QStringLiteral("Nowak-Kowalska"));
             SetValue(p.get(), imie, QStringLiteral("Janek"));
             SetValue(p.get(), imie, QStringLiteral("Jan"));
             ASSERT_TRUE(p->Post());
         },
         {QStringLiteral("2/21 p: %1 Nowak>Nowak-Kowalska").arg(nazwisko)}},
        {"post without a change", [&] { ASSERT_TRUE(p->Post()); }, {}},
        {"new section",
         [&] {
             address = p->GetAdresy()->New();
             SetValue(address.get(), miasto, QStringLiteral("Łódź"));
             ASSERT_TRUE(address->Post());
             name(address.get(), QStringLiteral("a"));
         },
         {QStringLiteral("1/3 a: %1 >Łódź").arg(miasto)}},
        {"link set",
         [&] {
             zus = NewPosted(reg->GetDaneZUSow({}).get(), zusName, QStringLiteral("ZUS Łódź"));
             name(zus.get(), QStringLiteral("z"));
             p->SetDaneZUS(zus.get());
             ASSERT_TRUE(p->Post());
         },
         {QStringLiteral("1/%1 z: %2 >ZUS Łódź").arg(kDaneZUS).arg(zusName),
          QStringLiteral("4/21 p: LINK:2 >ZUS Łódź (#%1)")}},
        {"link removed",
         [&] {
             p->SetDaneZUS(nullptr);
             ASSERT_TRUE(p->Post());
         },
         {QStringLiteral("4/21 p: LINK:2 ZUS Łódź (#%1)>")}},
        {"person linked to the taxpayer",
         [&] {
             osoba = reg->GetPracownicy({})->NewForPodatnik(nullptr);
             SetValue(osoba.get(), nazwisko, QStringLiteral("Pracowita"));
             ASSERT_TRUE(osoba->Post());
             name(osoba.get(), QStringLiteral("o"));
             Supports<IPodatnik>(p)->GetPracownicy(0, 0)->AddExisting(osoba.get());
         },
         {QStringLiteral("1/21 o: %1 >Pracowita").arg(nazwisko),
          QStringLiteral("4/21 o: PERSON:1 >Jan Nowak-Kowalska (#%2)")}},
        {"field definition added, changed, deleted",
         [&] {
             def = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(kPodmiot)->AddField();
             def->SetSymbol(u"cKolor");
             def->SetDescription(u"Kolor");
             def->SetFieldType(u"ctEdit");
             ASSERT_TRUE(def->PostDefinition());
             def->SetDescription(u"Kolor teczki");
             ASSERT_TRUE(def->PostDefinition());
             ASSERT_TRUE(def->DeleteDefinition());
         },
         {QStringLiteral("5/21 -: SYMBOL >cKolor, OPIS >Kolor, RODZAJ >ctEdit"),
          QStringLiteral("5/21 -: OPIS Kolor>Kolor teczki"),
          QStringLiteral("5/21 -: SYMBOL cKolor>, OPIS Kolor teczki>, RODZAJ ctEdit>")}},
        {"group and operator added (the first operator logs the connection in)",
         [&] {
             group = m_db->GetUsersGroups()->AddGroup();
             group->SetName(u"Biuro");
             group->SetUprawnienia(31);
             ASSERT_TRUE(group->Post());
             user = group->GetUsers()->AddUser();
             user->SetLogin(u"anna");
             user->SetPassword(u"Sekret#1");
             user->SetLastName(u"Zięba");
             ASSERT_TRUE(user->Post());
         },
         {QStringLiteral("6/0 -: NAZWA >Biuro, UPRAWNIENIA >31"),
          QStringLiteral("7/0 -: GRUPA >Biuro, LOGIN >anna, NAZWISKO >Zięba, HASLO >zmienione")}},
        {"logout, failed login, login",
         [&] {
             m_db->Logout();
             ASSERT_FALSE(m_db->Login(u"anna", u"zle"));
             ASSERT_TRUE(m_db->Login(u" ANNA ", u"Sekret#1"));
         },
         {QStringLiteral("10/0 -: "), QStringLiteral("9/0 -: LOGIN >anna"), QStringLiteral("8/0 -: ")}},
        {"operator changed",
         [&] {
             user->SetPhone(u"600 100 200");
             ASSERT_TRUE(user->Post());
         },
         {QStringLiteral("7/0 -: TELEFON >600 100 200")}},
        {"subject deleted with its section, after its person link went",
         [&] {
             auto people = Supports<IPodatnik>(p)->GetPracownicy(0, 0);
             ASSERT_EQ(people->GetCount(), 1);
             ASSERT_TRUE(people->GetItem(0)->Delete());
             ASSERT_TRUE(p->Delete());
         },
         {QStringLiteral("4/21 o: PERSON:1 Jan Nowak-Kowalska (#%2)>"), QStringLiteral("3/3 a: %1 Łódź>").arg(miasto),
          QStringLiteral("3/21 p: %1 Nowak-Kowalska>, %2 Jan>").arg(nazwisko, imie)}},
        {"import from another database",
         [&] {
             auto source = Open(AnotherDataBase());
             NewPodatnik(source.get(), QStringLiteral("Ewa"), QStringLiteral("Źródłowa"));
             ASSERT_TRUE(m_db->ImportFrom(source.get())) << m_db->GetLastErrorCode();
             const QString line = After(m_db.get(), LastSeq(m_db.get()) - 1, names).value(0);
             EXPECT_TRUE(line.startsWith(QStringLiteral("11/0 -: ZRODLO >"))) << line.toStdString();
             EXPECT_TRUE(line.endsWith(QStringLiteral("REKORDY >1"))) << line.toStdString();
         },
         {QStringLiteral("*")}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.what);
        const qint64 before = LastSeq(m_db.get());
        s.act();
        if (HasFatalFailure())
            return;
        QStringList expected = s.expected;
        for (QString& e : expected)
            if (e.contains(QStringLiteral("%1)")) && zus)
                e = e.arg(zus->GetID());
            else if (e.contains(QStringLiteral("%2)")) && p)
                e.replace(QStringLiteral("%2)"), QString::number(p->GetID()) + u')');
        if (expected == QStringList{QStringLiteral("*")})
            EXPECT_EQ(After(m_db.get(), before, names).size(), 1);
        else
            EXPECT_EQ(After(m_db.get(), before, names), expected);
    }
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));

    // The deleted subject stays explainable by its identifier: its own entries and its
    // section's, newest first, with operator and desk.
    std::vector<THistoryEntry> of;
    ASSERT_TRUE(m_db->GetHistory()->RecordHistory(p->GetID(), of));
    QStringList kinds;
    for (const THistoryEntry& e : of)
        kinds << QStringLiteral("%1/%2").arg(int(e.Event)).arg(e.Kind);
    EXPECT_EQ(kinds, (QStringList{"3/21", "3/3", "4/21", "4/21", "4/21", "4/21", "1/3", "2/21", "1/21"}));
    EXPECT_EQ(Q(of.front().Operator), QStringLiteral("anna"));
    EXPECT_FALSE(of.front().Host.empty());
    EXPECT_EQ(Q(of.front().Description), QStringLiteral("Jan Nowak-Kowalska"));
    EXPECT_LE(of.back().TimeMs, of.front().TimeMs);
}

// A post undone with the root transaction, and a post refused because another desk
// changed the record meanwhile, leave no entry; the chain still verifies.
TEST_F(HistoryTest, RolledBackOrRefusedPostLeavesNoEntry) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Nowak"));
    const qint64 id = p->GetID();
    const qint64 before = LastSeq(m_db.get());
    ASSERT_TRUE(m_db->StartTransaction());
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Cofnięty"));
    ASSERT_TRUE(p->Post());
    m_db->Disconnect(); // an uncommitted root transaction is rolled back
    m_db = Open();
    EXPECT_EQ(LastSeq(m_db.get()), before);

    auto mine = Supports<IEwidarListCollection>(Reg()->GetPodatnicy({}))->GetItem(0);
    ASSERT_EQ(mine->GetID(), id);
    EXPECT_EQ(Value(mine.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Nowak"));
    auto other = Open();
    auto theirs = Supports<IEwidarListCollection>(other->GetRegistries()->GetPodatnicy({}))->GetItem(0);
    SetValue(theirs.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Ich"));
    ASSERT_TRUE(theirs->Post());
    SetValue(mine.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Moje"));
    EXPECT_FALSE(mine->Post());
    EXPECT_EQ(mine->GetLastErrorCode(), 1008);
    EXPECT_EQ(LastSeq(m_db.get()), before + 1);
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));
}

// Two desk processes posting at the same time append to one chain that verifies.
TEST_F(HistoryTest, TwoDesksPostingAtOnceGiveAChainThatVerifies) {
    constexpr int kEach = 25;
    TChildProcess a({QStringLiteral("post-many"), m_path, QString::number(kEach)});
    TChildProcess b({QStringLiteral("post-many"), m_path, QString::number(kEach)});
    for (TChildProcess* c : {&a, &b}) {
        int posted = 0;
        while (c->ReadLine(60000).startsWith(QStringLiteral("POSTED")))
            ++posted;
        EXPECT_EQ(posted, kEach);
        c->Process().waitForFinished(30000);
    }
    int created = 0;
    for (const THistoryEntry& e : All(m_db.get()))
        created += e.Event == THistoryEvent::heNew && e.Kind == kPodmiot;
    EXPECT_EQ(created, 2 * kEach);
    EXPECT_EQ(LastSeq(m_db.get()), qint64(All(m_db.get()).size()));
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));
}

// Rows changed, removed or added past the program are each found, naming the first
// broken entry; restored, the chain verifies again.
TEST_F(HistoryTest, ChainCheckFindsChangedRemovedAndAddedRows) {
    for (const QString& last : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")})
        NewPodatnik(m_db.get(), QStringLiteral("Jan"), last);
    ASSERT_EQ(LastSeq(m_db.get()), 4);
    ASSERT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));

    const QString details = RawScalar(m_path, QStringLiteral("SELECT details FROM ew_history WHERE seq = 2")).toString();
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("UPDATE ew_history SET details = REPLACE(details, 'B', 'X') "
                                                "WHERE seq = 2")}));
    EXPECT_TRUE(Verdict(m_db.get()).startsWith(QStringLiteral("2: wpis nr 2 został zmieniony")));
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("UPDATE ew_history SET details = '%1' WHERE seq = 2")
                                     .arg(QString(details).replace(u'\'', QStringLiteral("''")))}));
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));

    // A row taken out of the middle, then every row after it.
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("CREATE TABLE saved AS SELECT * FROM ew_history"),
                                 QStringLiteral("DELETE FROM ew_history WHERE seq = 3")}));
    EXPECT_TRUE(Verdict(m_db.get()).startsWith(QStringLiteral("3: brak wpisu nr 3")));
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("DELETE FROM ew_history WHERE seq >= 3")}));
    EXPECT_TRUE(Verdict(m_db.get()).startsWith(QStringLiteral("3: brak wpisów od nr 3 do nr 4")));
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("INSERT INTO ew_history SELECT * FROM saved WHERE seq >= 3")}));
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));

    // A row added at the end by someone who knows how entries are hashed (a copy of the
    // last one under the next number with a correctly chained hash): the head knows better.
    const QString forged =
        QStringLiteral("INSERT INTO ew_history SELECT seq + 1, at_ms, operator_id, operator, host, event, kind, "
                       "record_id, subject_id, description, details, hash FROM saved WHERE seq = 4");
    ASSERT_TRUE(RawExec(m_path, {forged}));
    EXPECT_TRUE(Verdict(m_db.get()).startsWith(QStringLiteral("5: wpis nr 5 został zmieniony lub wstawiony")));
    ASSERT_TRUE(RawExec(m_path, {QStringLiteral("DELETE FROM ew_history WHERE seq = 5"), QStringLiteral("DROP TABLE saved")}));

    // New entries go on chaining after a restored history.
    NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("E"));
    EXPECT_EQ(Verdict(m_db.get()), QStringLiteral("ok"));
}

// Passwords (right or wrong) and their hashes never reach the history, and the
// journal is for administrators while a record's history is for whoever may view it.
TEST_F(HistoryTest, NoPasswordOrHashEverAppearsAndTheJournalIsForAdministrators) {
    auto admins = m_db->GetUsersGroups()->AddGroup();
    admins->SetName(u"Administratorzy");
    admins->SetUprawnienia(31);
    ASSERT_TRUE(admins->Post());
    auto admin = admins->GetUsers()->AddUser();
    admin->SetLogin(u"admin");
    admin->SetPassword(u"Pierwsze#Hasło");
    ASSERT_TRUE(admin->Post());
    auto readers = m_db->GetUsersGroups()->AddGroup();
    readers->SetName(u"Podgląd");
    readers->SetUprawnienia(16);
    ASSERT_TRUE(readers->Post());
    auto reader = readers->GetUsers()->AddUser();
    reader->SetLogin(u"czytelnik");
    reader->SetPassword(u"Czytam#123");
    ASSERT_TRUE(reader->Post());
    admin->SetPassword(u"Drugie#Hasło");
    ASSERT_TRUE(admin->Post());
    EXPECT_FALSE(m_db->Login(u"admin", u"Pomyłka#Hasło"));
    ASSERT_TRUE(m_db->Login(u"admin", u"Drugie#Hasło"));
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Jawny"));

    const QString raw = RawHistory(m_path);
    ASSERT_FALSE(raw.isEmpty());
    for (const QString& secret : {QStringLiteral("Pierwsze#Hasło"), QStringLiteral("Drugie#Hasło"),
                                  QStringLiteral("Czytam#123"), QStringLiteral("Pomyłka#Hasło"),
                                  QStringLiteral("$argon2")})
        EXPECT_FALSE(raw.contains(secret)) << secret.toStdString();
    const QStringList hashes = RawColumn(m_path, QStringLiteral("SELECT password_hash FROM ew_user"));
    ASSERT_EQ(hashes.size(), 2);
    for (const QString& h : hashes) // the salt and the hash itself, past the parameters
        EXPECT_FALSE(raw.contains(h.section(u'$', 4)));

    ASSERT_TRUE(m_db->Login(u"czytelnik", u"Czytam#123"));
    std::vector<THistoryEntry> out;
    auto history = m_db->GetHistory();
    EXPECT_TRUE(history->RecordHistory(p->GetID(), out));
    EXPECT_EQ(out.size(), 1u);
    EXPECT_FALSE(history->Query(THistoryFilter{}, out));
    EXPECT_EQ(history->GetLastErrorCode(), 1015);
    int64_t broken = 0;
    std::u16string reason;
    EXPECT_FALSE(history->Verify(broken, reason));
}
