// Collections: registries, filters, change events, and the people of a taxpayer.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QSet>

#include <cstdio>
#include <functional>
#include <vector>

using CollectionsTest = BackendTest;

TEST_F(CollectionsTest, FilterMatchesAnyColumnIgnoringCaseAndTakesWildcardsLiterally) {
    NewPodatnik(m_db.get(), QStringLiteral("Łucja"), QStringLiteral("Żółkiewska"),
                QStringLiteral("Świdnica"));
    NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("Kraków"));
    NewPodatnik(m_db.get(), QStringLiteral("Piotr"), QStringLiteral("O'Hara 100%"), QStringLiteral("Łódź"));
    NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Back\\slash_x"), QStringLiteral("Radom"));
    auto list = Reg()->GetPodatnicy({});
    EXPECT_EQ(list->GetCount(), 4);
    const std::vector<std::pair<QString, int>> cases = {
        {QStringLiteral("ŻÓŁ"), 1},         {QStringLiteral("łucja ż"), 1}, {QStringLiteral("ŚWIDNICA"), 1},
        {QStringLiteral("KRAK"), 1},        {QStringLiteral("a"), 4},       {QStringLiteral("%"), 1},
        {QStringLiteral("_"), 1},           {QStringLiteral("'"), 1},       {QStringLiteral("\\"), 1},
        {QStringLiteral("0%"), 1},          {QStringLiteral("1_0"), 0},     {QStringLiteral("ski kra"), 0},
        {QStringLiteral("' OR 1=1 --"), 0}, {QStringLiteral("  "), 0},      {QString(), 4},
    };
    for (const auto& [filter, expected] : cases) {
        list->SetFilter(U(filter));
        EXPECT_EQ(list->GetCount(), expected) << filter.toStdString();
        EXPECT_EQ(list->GetLastErrorCode(), 0);
    }
    EXPECT_EQ(Reg()->GetPodmioty(u"łódź")->GetCount(), 1);
    EXPECT_EQ(Reg()->GetPodatnicy(u"KOWAL")->GetCount(), 1);
}

TEST_F(CollectionsTest, RegistriesAreFreshAndListOnlyTheirOwnKind) {
    NewPodatnik(m_db.get(), QStringLiteral("Adam"), QStringLiteral("Podatnik"));
    NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Bank Polski"));
    NewPosted(Reg()->GetSadyRejonowe({}).get(), cDaneSaduRejonowegoNazwa.Symbol,
              QStringLiteral("SR Wrocław"));
    auto reg1 = Reg();
    auto reg2 = Reg();
    EXPECT_NE(reg1.get(), reg2.get());
    EXPECT_NE(reg1->GetDaneBankow({}).get(), reg1->GetDaneBankow({}).get());
    EXPECT_EQ(reg1->GetDaneBankow({})->GetCount(), 1);
    EXPECT_EQ(reg1->GetSadyRejonowe({})->GetCount(), 1);
    EXPECT_EQ(reg1->GetDaneZUSow({})->GetCount(), 0);
    EXPECT_EQ(reg1->GetPracownicy({})->GetCount(), 0);
    EXPECT_EQ(reg1->GetPodmioty({})->GetCount(), 1);
    auto bank = Supports<IEwidarListCollection>(reg1->GetDaneBankow({}))->GetItem(0);
    EXPECT_TRUE(Supports<IDaneBanku>(bank));
    EXPECT_FALSE(Supports<IEwidarListCollection>(reg1->GetDaneBankow({}))->GetItem(1));
    EXPECT_EQ(reg1->GetDaneBankow({})->GetLastErrorCode(), 0);
    auto list = Supports<IEwidarListCollection>(reg1->GetDaneBankow({}));
    EXPECT_FALSE(list->GetItem(5));
    EXPECT_EQ(list->GetLastErrorCode(), 106);
    // The list of all subjects gives the subject as the taxpayer it is.
    auto any = reg1->GetPodmioty({})->GetItem(0);
    EXPECT_TRUE(Supports<IPodatnik>(any));
    EXPECT_FALSE(Supports<IPracownik>(any));
    EXPECT_EQ(Lines(any.get()).value(0), QStringLiteral("Adam Podatnik"));
}

TEST_F(CollectionsTest, OnChangeIsRaisedWhenRecordsOfTheListedKindChange) {
    auto banks = Reg()->GetDaneBankow({});
    auto courts = Reg()->GetSadyRejonowe({});
    int bankEvents = 0, courtEvents = 0;
    IInterface* sender = nullptr;
    banks->SetOnChange([&](IInterface* s) {
        ++bankEvents;
        sender = s;
    });
    courts->SetOnChange([&](IInterface*) { ++courtEvents; });
    EXPECT_EQ(banks->GetCount(), 0);
    auto bank =
        NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Nowy Bank"));
    EXPECT_EQ(bankEvents, 1);
    EXPECT_EQ(courtEvents, 0);
    EXPECT_TRUE(SupportsIID(sender, IDaneBankow::IID));
    EXPECT_EQ(banks->GetCount(), 1);
    ASSERT_TRUE(bank->Delete());
    EXPECT_EQ(bankEvents, 2);
    EXPECT_EQ(banks->GetCount(), 0);
    // A handler that releases the last reference to its list does no harm.
    auto* raw = Reg()->GetDaneBankow({}).detach();
    raw->SetOnChange([&raw](IInterface*) {
        if (raw)
            std::exchange(raw, nullptr)->Release();
    });
    NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Drugi Bank"));
    EXPECT_EQ(raw, nullptr);
}

TEST_F(CollectionsTest, PeopleOfATaxpayerWithTheirActiveFlag) {
    auto podatnik =
        Supports<IPodatnik>(NewPodatnik(m_db.get(), QStringLiteral("Firma"), QStringLiteral("Matka")));
    ASSERT_TRUE(podatnik);
    auto pracownicy = podatnik->GetPracownicy(0, 0);
    auto nowy = pracownicy->New();
    ASSERT_TRUE(Supports<IPracownik>(nowy));
    EXPECT_TRUE(Supports<IPracownik>(nowy)->HasPodatnikKontekst());
    EXPECT_EQ(pracownicy->GetCount(), 0); // a placeholder is not listed
    SetValue(nowy.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pracowity"));
    ASSERT_TRUE(nowy->Post());
    EXPECT_EQ(pracownicy->GetCount(), 1);

    // From the registry of all employees, without a taxpayer.
    auto zRejestru = Supports<IPracownik>(Reg()->GetPracownicy({})->NewForPodatnik(nullptr));
    ASSERT_TRUE(zRejestru);
    EXPECT_FALSE(zRejestru->HasPodatnikKontekst());
    SetValue(zRejestru.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Wolny"));
    ASSERT_TRUE(zRejestru->Post());
    EXPECT_EQ(Reg()->GetPracownicy({})->GetCount(), 2);
    pracownicy->AddExisting(zRejestru.get());
    EXPECT_EQ(pracownicy->GetLastErrorCode(), 0);
    pracownicy->AddExisting(zRejestru.get()); // twice links once
    EXPECT_EQ(pracownicy->GetCount(), 2);
    EXPECT_EQ(zRejestru->GetPodatnicy()->GetCount(), 1);

    auto item = Supports<IPracownik>(Supports<IEwidarPeopleCollection>(pracownicy)->GetItem(1));
    ASSERT_TRUE(item->HasPodatnikKontekst());
    EXPECT_TRUE(item->GetAktywny());
    item->SetAktywny(false);
    ASSERT_TRUE(item->Post());
    const std::vector<std::pair<int, int>> activity = {{0, 2}, {1, 1}, {2, 1}, {7, 2}, {-1, 2}};
    for (const auto& [a, expected] : activity) {
        pracownicy->SetActivityFilter(a, u"");
        EXPECT_EQ(pracownicy->GetCount(), expected) << a;
    }
    pracownicy->SetActivityFilter(2, u"WOLNY");
    EXPECT_EQ(pracownicy->GetCount(), 1);
    pracownicy->SetActivityFilter(2, u"pracowity");
    EXPECT_EQ(pracownicy->GetCount(), 0);
    auto registry = Reg()->GetPracownicy({});
    registry->SetActivityFilter(1, u"");
    EXPECT_EQ(registry->GetCount(), 1); // the other one is inactive at its only taxpayer

    // Deleting from the taxpayer's list removes the link, not the person.
    pracownicy->SetActivityFilter(0, u"");
    auto linked = Supports<IEwidarPeopleCollection>(pracownicy)->GetItem(0);
    ASSERT_TRUE(linked->Delete());
    EXPECT_EQ(pracownicy->GetCount(), 1);
    EXPECT_EQ(Reg()->GetPracownicy({})->GetCount(), 2);
    // The registry of all employees cannot link without a taxpayer.
    auto reg = Reg()->GetPracownicy({});
    reg->AddExisting(zRejestru.get());
    EXPECT_EQ(reg->GetLastErrorCode(), 200);
    reg->AddExisting(nullptr);
    EXPECT_EQ(reg->GetLastErrorCode(), 200);
}

TEST_F(CollectionsTest, NewForPodatnikLinksAtOnceAndContractorsAreSeparate) {
    auto podatnik = NewPodatnik(m_db.get(), QStringLiteral("Sklep"), QStringLiteral("Spożywczy"));
    auto k = Reg()->GetKontrahenci({})->NewForPodatnik(podatnik.get());
    ASSERT_TRUE(Supports<IKontrahent>(k));
    EXPECT_TRUE(Supports<IKontrahent>(k)->HasPodatnikKontekst());
    SetValue(k.get(), cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Hurtownia"));
    ASSERT_TRUE(k->Post());
    EXPECT_EQ(Supports<IPodatnik>(podatnik)->GetKontrahenci(0, 0)->GetCount(), 1);
    EXPECT_EQ(Supports<IPodatnik>(podatnik)->GetPracownicy(0, 0)->GetCount(), 0);
    EXPECT_EQ(Reg()->GetKontrahenci(u"hurt")->GetCount(), 1);
    auto unposted = Supports<IPodmiot>(podatnik)->GetAdresy()->New();
    EXPECT_FALSE(Reg()->GetKontrahenci({})->NewForPodatnik(unposted.get()));
}

TEST_F(CollectionsTest, ListsHearOfChangesCommittedByOtherConnections) {
    auto watcher = NewRoot();
    std::u16string param = U(DialectParam(m_path) + QStringLiteral("WATCH=50;"));
    ASSERT_TRUE(watcher->Connect(param, true));
    auto banks = watcher->GetRegistries()->GetDaneBankow({});
    int events = 0;
    banks->SetOnChange([&](IInterface*) { ++events; });
    EXPECT_EQ(banks->GetCount(), 0);
    auto pump = [](int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    pump(200);
    EXPECT_EQ(events, 0); // nothing changed yet
    NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol,
              QStringLiteral("Bank innego stanowiska"));
    QElapsedTimer t;
    t.start();
    while (events == 0 && t.elapsed() < 5000)
        pump(20);
    EXPECT_GE(events, 1);
    EXPECT_EQ(banks->GetCount(), 1);
    const int seen = events;
    pump(200);
    EXPECT_EQ(events, seen);
    watcher->Disconnect();
}

// Heartbeats, locks and unlocks of another process reload no list; its post reloads the
// lists of subjects once and no other. EWIDAR_NOTICE_SECONDS sets how long the other
// process beats (3 s by default; the measure quoted in the README used 30).
TEST_F(CollectionsTest, AnotherProcessReloadsOnlyTheListsOfWhatItPosted) {
    const int seconds = qEnvironmentVariableIsSet("EWIDAR_NOTICE_SECONDS")
                            ? qEnvironmentVariableIntValue("EWIDAR_NOTICE_SECONDS")
                            : 3;
    auto subject = NewPodatnik(m_db.get(), QStringLiteral("Bije"), QStringLiteral("Serce"));
    m_db->Disconnect();
    auto watcher = NewRoot();
    std::u16string param = U(DialectParam(m_path) + QStringLiteral("WATCH=100;"));
    ASSERT_TRUE(watcher->Connect(param, true));
    auto reg = watcher->GetRegistries();
    auto subjects = reg->GetPodmioty({});
    auto taxpayers = reg->GetPodatnicy({});
    auto banks = reg->GetDaneBankow({});
    int subjectReloads = 0, taxpayerReloads = 0, bankReloads = 0;
    subjects->SetOnChange([&](IInterface*) { ++subjectReloads; });
    taxpayers->SetOnChange([&](IInterface*) { ++taxpayerReloads; });
    banks->SetOnChange([&](IInterface*) { ++bankReloads; });
    ASSERT_EQ(subjects->GetCount(), 1);
    ASSERT_EQ(banks->GetCount(), 0);
    TChildProcess child({QStringLiteral("script"), m_path, QStringLiteral("HEARTBEAT=1000;")});
    // Runs this process's event loop until the child answers.
    auto answer = [&child](int TimeoutMs) {
        QElapsedTimer t;
        t.start();
        while (!child.Process().canReadLine() && t.elapsed() < TimeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            child.Process().waitForReadyRead(20);
        }
        return QString::fromUtf8(child.Process().readLine()).trimmed();
    };
    const QString beats = QStringLiteral("SELECT heartbeat - opened_at FROM ew_session WHERE pid = %1")
                              .arg(child.Process().processId());
    child.Send(QStringLiteral("beat %1 %2").arg(seconds).arg(subject->GetID()));
    const QString beat = answer(seconds * 1000 + 30000);
    ASSERT_TRUE(beat.startsWith(QStringLiteral("BEAT "))) << beat.toStdString();
    EXPECT_GE(beat.mid(5).toInt(), seconds);                  // locked and unlocked once a second
    EXPECT_GE(RawScalar(m_path, beats).toInt(), seconds - 1); // heartbeats written meanwhile
    EXPECT_EQ(subjectReloads, 0);
    EXPECT_EQ(taxpayerReloads, 0);
    EXPECT_EQ(bankReloads, 0);
    std::printf("reloads while another process beat for %d s: %d\n", seconds, subjectReloads);
    child.Send(QStringLiteral("post-new Nowy"));
    EXPECT_EQ(answer(20000), QStringLiteral("POST 1 0"));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(subjectReloads, 1);
    EXPECT_EQ(taxpayerReloads, 1);
    EXPECT_EQ(bankReloads, 0);
    std::printf("reloads after its post: subjects %d, banks %d\n", subjectReloads, bankReloads);
    EXPECT_EQ(subjects->GetCount(), 2);
    EXPECT_EQ(answer(100), QString());
    child.Send(QStringLiteral("quit"));
    EXPECT_EQ(answer(20000), QStringLiteral("BYE"));
    watcher->Disconnect();
}

TEST_F(CollectionsTest, NfzDefaultsAreTheSixteenBranchesInCodeOrderAddedOnce) {
    auto nfz = Reg()->GetDaneNFZow({});
    ASSERT_TRUE(nfz->FillDefaults()) << nfz->GetLastErrorCode();
    ASSERT_EQ(nfz->GetCount(), 16);
    QMap<QString, QString> byCode;
    for (int i = 0; i < nfz->GetCount(); ++i) {
        auto r = nfz->GetItem(i);
        byCode.insert(Value(r.get(), cDaneNFZKod.Symbol), Value(r.get(), cDaneNFZNazwa.Symbol));
    }
    QStringList codes;
    for (int c = 1; c <= 16; ++c)
        codes << QStringLiteral("%1").arg(c, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(byCode.keys(), codes);
    const std::pair<const char*, const char*> anchors[] = {
        {"01", "Dolnośląski"},
        {"02", "Kujawsko-Pomorski"},
        {"05", "Łódzki"},
        {"06", "Małopolski"},
        {"12", "Śląski"},
        {"13", "Świętokrzyski"},
        {"14", "Warmińsko-Mazurski"},
        {"16", "Zachodniopomorski"},
    };
    for (const auto& [code, name] : anchors)
        EXPECT_EQ(byCode.value(QLatin1String(code)),
                  QString::fromUtf8(name) + QStringLiteral(" Oddział Wojewódzki NFZ"));
    EXPECT_EQ(QSet<QString>(byCode.begin(), byCode.end()).size(), 16);
    EXPECT_EQ(Reg()->GetDaneNFZow(u"mazowiecki")->GetCount(), 1); // described and searchable

    // Again: nothing is added. A deleted branch comes back; a branch of one's own stays.
    auto codes08 = [this] {
        QStringList found;
        auto list = Reg()->GetDaneNFZow({});
        for (int i = 0; i < list->GetCount(); ++i)
            if (Value(list->GetItem(i).get(), cDaneNFZKod.Symbol) == QStringLiteral("08"))
                found << Value(list->GetItem(i).get(), cDaneNFZNazwa.Symbol);
        return found;
    };
    auto own = NewPosted(nfz.get(), cDaneNFZNazwa.Symbol, QStringLiteral("Oddział własny"));
    SetValue(own.get(), cDaneNFZKod.Symbol, QStringLiteral("99"));
    ASSERT_TRUE(own->Post());
    auto list = Reg()->GetDaneNFZow({});
    for (int i = 0; i < list->GetCount(); ++i) {
        if (Value(list->GetItem(i).get(), cDaneNFZKod.Symbol) == QStringLiteral("08")) {
            ASSERT_TRUE(list->GetItem(i)->Delete());
        }
    }
    ASSERT_TRUE(codes08().isEmpty());
    ASSERT_TRUE(nfz->FillDefaults());
    EXPECT_EQ(Reg()->GetDaneNFZow({})->GetCount(), 17);
    EXPECT_EQ(codes08(), QStringList{QStringLiteral("Opolski Oddział Wojewódzki NFZ")});
    ASSERT_TRUE(nfz->FillDefaults());
    EXPECT_EQ(Reg()->GetDaneNFZow({})->GetCount(), 17);
    m_db->Disconnect();
    EXPECT_FALSE(nfz->FillDefaults());
    EXPECT_EQ(nfz->GetLastErrorCode(), 103);
}

// A list read in one pass gives what GetCount, GetItem and the records' lines give, for
// lists of every scope, with and without a filter, Polish letters included; the record
// of a row asked for by identifier is the one GetItem gives, as the same face.
TEST_F(CollectionsTest, RowsReadInOnePassMatchTheItemsOfEveryScope) {
    auto taxpayer =
        Supports<IPodatnik>(NewPodatnik(m_db.get(), QStringLiteral("Żaneta"), QStringLiteral("Ółkowska"),
                                        QStringLiteral("Łódź")));
    ASSERT_TRUE(taxpayer);
    auto other =
        NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("Kraków"));
    auto employee = taxpayer->GetPracownicy(0, 0)->New();
    SetValue(employee.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Ćwikła 𝄞"));
    ASSERT_TRUE(employee->Post());
    auto contractor = taxpayer->GetKontrahenci(0, 0)->New();
    SetValue(contractor.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Źdźbło"));
    ASSERT_TRUE(contractor->Post());
    auto address = taxpayer->GetAdresy()->New();
    SetValue(address.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Gdańsk"));
    ASSERT_TRUE(address->Post());

    struct TCase {
        const char* what;
        TIntfPtr<IEwidarCollection> list;
        std::u16string filter;
        int rows;
    };
    const TCase cases[] = {
        {"all subjects", TIntfPtr<IEwidarCollection>(Reg()->GetPodmioty({}).get()), u"", 4},
        {"all subjects, filtered", TIntfPtr<IEwidarCollection>(Reg()->GetPodmioty({}).get()), u"ÓŁK", 1},
        {"taxpayers", TIntfPtr<IEwidarCollection>(Reg()->GetPodatnicy({}).get()), u"", 2},
        {"employees", TIntfPtr<IEwidarCollection>(Reg()->GetPracownicy({}).get()), u"", 1},
        {"taxpayer's contractors", TIntfPtr<IEwidarCollection>(taxpayer->GetKontrahenci(0, 0).get()), u"", 1},
        {"taxpayer's addresses", TIntfPtr<IEwidarCollection>(taxpayer->GetAdresy().get()), u"", 2},
        {"nothing matches", TIntfPtr<IEwidarCollection>(Reg()->GetPodmioty({}).get()), u"qqq", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.list->SetFilter(c.filter);
        const auto reader = Supports<IEwidarRowReader>(c.list);
        ASSERT_TRUE(reader);
        TEwidarRowLines rows;
        ASSERT_TRUE(reader->ReadRows(rows));
        ASSERT_EQ(static_cast<int>(rows.IDs.size()), c.rows);
        ASSERT_EQ(c.list->GetCount(), c.rows);
        ASSERT_EQ(rows.Ends.size(), rows.IDs.size() * static_cast<size_t>(rows.LineCount));
        for (int i = 0; i < c.rows; ++i) {
            const auto item = EwidarKinds::CollectionGetItem(c.list.get(), i);
            const auto byID = reader->GetItemByID(rows.IDs[static_cast<size_t>(i)]);
            ASSERT_TRUE(item && byID);
            EXPECT_EQ(rows.IDs[static_cast<size_t>(i)], item->GetID());
            EXPECT_EQ(byID->GetID(), item->GetID());
            EXPECT_EQ(EwidarKinds::KindPosition(byID.get()), EwidarKinds::KindPosition(item.get()));
            EXPECT_EQ(bool(Supports<IPracownik>(byID)), bool(Supports<IPracownik>(item)));
            EXPECT_EQ(bool(Supports<IKontrahent>(byID)), bool(Supports<IKontrahent>(item)));
            const QStringList lines = Lines(item.get());
            ASSERT_EQ(lines.size(), rows.LineCount);
            for (int l = 0; l < rows.LineCount; ++l)
                EXPECT_EQ(QString::fromStdU16String(std::u16string(rows.Line(static_cast<size_t>(i), l))),
                          lines[l]);
            EXPECT_EQ(Lines(byID.get()), lines);
        }
        EXPECT_EQ(c.list->GetLastErrorCode(), 0);
    }

    // A row gone since the grid read the list is no record any more; another one still is.
    auto all = Reg()->GetPodmioty({});
    const auto reader = Supports<IEwidarRowReader>(all);
    TEwidarRowLines before;
    ASSERT_TRUE(reader->ReadRows(before));
    ASSERT_EQ(before.IDs.size(), 4u);
    const int32_t gone = other->GetID();
    ASSERT_TRUE(other->Delete());
    EXPECT_FALSE(reader->GetItemByID(gone));
    EXPECT_EQ(reader->GetItemByID(employee->GetID())->GetID(), employee->GetID());
    EXPECT_FALSE(reader->GetItemByID(987654));
    EXPECT_EQ(all->GetLastErrorCode(), 0);
}

// A registry listed again shows whatever any desk committed since its last reading (a
// server keeps the list on the desk between readings), filtered or not; inside this desk's
// transaction it shows what the transaction wrote, and nothing of it once rolled back.
TEST_F(CollectionsTest, ARegistryListedAgainShowsEveryCommitSinceItsLastReading) {
    auto kept = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Stały"));
    // A ZUS branch that a subject names cannot be deleted: the refusal ends a transaction.
    auto zus = NewPosted(Reg()->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS I Oddział"));
    Supports<IPodmiot>(kept)->SetDaneZUS(zus.get());
    ASSERT_TRUE(kept->Post()) << kept->GetLastErrorCode();
    auto other = Open();
    ASSERT_TRUE(other);
    const auto surnames = [this](const QString& Filter) {
        QStringList out = ListLines(Reg()->GetPodatnicy(U(Filter)).get());
        for (QString& line : out)
            line = line.section(u' ', -1);
        out.sort();
        return out;
    };
    EXPECT_EQ(surnames({}), QStringList{QStringLiteral("Stały")});
    EXPECT_EQ(surnames({}), QStringList{QStringLiteral("Stały")}); // nothing changed between
    EXPECT_EQ(surnames(QStringLiteral("now")), QStringList());
    TIntfPtr<IEwidarRecord> added;
    const auto renameKept = [&] {
        auto mine = Supports<IEwidarListCollection>(other->GetRegistries()->GetPodatnicy(u"stał"))->GetItem(0);
        ASSERT_TRUE(mine);
        SetValue(mine.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zmieniony"));
        ASSERT_TRUE(mine->Post()) << mine->GetLastErrorCode();
    };
    struct TStep {
        const char* what;
        std::function<void()> change;
        QStringList all;
        QStringList filtered; // by "now"
    };
    const std::vector<TStep> steps = {
        {"another desk adds a taxpayer",
         [&] { added = NewPodatnik(other.get(), QStringLiteral("Anna"), QStringLiteral("Nowa")); },
         {QStringLiteral("Nowa"), QStringLiteral("Stały")},
         {QStringLiteral("Nowa")}},
        {"another desk renames one", renameKept, {QStringLiteral("Nowa"), QStringLiteral("Zmieniony")},
         {QStringLiteral("Nowa")}},
        {"another desk deletes one", [&] { ASSERT_TRUE(added->Delete()) << added->GetLastErrorCode(); },
         {QStringLiteral("Zmieniony")},
         {}},
        {"this desk's transaction ended by a refused deletion, then another desk's commit",
         [&] {
             ASSERT_TRUE(m_db->StartTransaction());
             NewPodatnik(m_db.get(), QStringLiteral("Olga"), QStringLiteral("Nowa"));
             EXPECT_EQ(surnames(QStringLiteral("now")), QStringList{QStringLiteral("Nowa")});
             EXPECT_FALSE(zus->Delete());
             NewPodatnik(other.get(), QStringLiteral("Piotr"), QStringLiteral("Późny"));
         },
         {QStringLiteral("Późny"), QStringLiteral("Zmieniony")},
         {}},
        {"this desk adds one in its transaction",
         [&] {
             ASSERT_TRUE(m_db->StartTransaction());
             NewPodatnik(m_db.get(), QStringLiteral("Ewa"), QStringLiteral("Nowicka"));
         },
         {QStringLiteral("Nowicka"), QStringLiteral("Późny"), QStringLiteral("Zmieniony")},
         {QStringLiteral("Nowicka")}},
        {"and commits it", [&] { ASSERT_TRUE(m_db->Commit()); },
         {QStringLiteral("Nowicka"), QStringLiteral("Późny"), QStringLiteral("Zmieniony")},
         {QStringLiteral("Nowicka")}},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(surnames({}), step.all);
        EXPECT_EQ(surnames(QStringLiteral("now")), step.filtered);
        EXPECT_EQ(surnames({}), step.all);
    }
    other->Disconnect();
}
