// Faults that would misreport or lose data: error details that belong to another call,
// refused link setters, identifiers stored or typed with separators, list order, filter
// text taken literally, and quoted blanks of the connection parameter.

#include "BackendFixture.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFile>

using SafetyTest = BackendTest;

namespace {

QString ErrorText(int32_t Code, IEwidarDataBase* Db) {
    std::u16string text, link;
    Backend().GetLastError(Code, Db->GetDataBaseID(), text, link);
    return Q(text);
}

} // namespace

TEST_F(SafetyTest, LastErrorDetailsDescribeOnlyTheFailureThatGaveTheCode) {
    FILE_DATABASE_ONLY();
    const QString junk = m_dir + QStringLiteral("/junk.db");
    ASSERT_TRUE(WriteFile(junk, QByteArray("not a database").repeated(100)));
    auto db = NewRoot();
    std::u16string param = U(Param(junk));
    ASSERT_FALSE(db->Connect(param, true));
    ASSERT_EQ(db->GetLastErrorCode(), 5);
    EXPECT_TRUE(ErrorText(5, db.get()).contains(QStringLiteral("Szczegóły:")));
    // A later failure without an engine message: its own text only, and the older details are gone.
    EXPECT_FALSE(db->StartTransaction());
    ASSERT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(ErrorText(2, db.get()).contains(QStringLiteral("Szczegóły:")));
    EXPECT_FALSE(ErrorText(5, db.get()).contains(QStringLiteral("Szczegóły:")));

    // Two failures with engine messages: each code shows its own.
    m_db->Disconnect();
    TExclusiveHolder other(m_path);
    ASSERT_TRUE(other.Holds());
    param = U(Param(m_path));
    ASSERT_FALSE(db->Connect(param, true));
    ASSERT_EQ(db->GetLastErrorCode(), 23);
    const QString locked = ErrorText(23, db.get());
    EXPECT_TRUE(locked.contains(QStringLiteral("Szczegóły:"))) << locked.toStdString();
    param = U(Param(junk));
    ASSERT_FALSE(db->Connect(param, true));
    const QString notADatabase = ErrorText(5, db.get());
    EXPECT_TRUE(notADatabase.contains(QStringLiteral("Szczegóły:")));
    EXPECT_NE(notADatabase.mid(notADatabase.indexOf(u':')), locked.mid(locked.indexOf(u':')));
    EXPECT_FALSE(ErrorText(23, db.get()).contains(QStringLiteral("Szczegóły:")));
}

TEST_F(SafetyTest, ARefusedLinkSetterFailsThePostWithItsCodeAndWritesNothing) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Linkowy"));
    auto zus = NewPosted(Reg()->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS Łódź"));
    auto bank = NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Bank"));
    auto unpostedCourt = Reg()->GetSadyRejonowe({})->New();
    auto ip = Supports<IPodmiot>(p);
    ip->SetDaneZUS(zus.get());
    EXPECT_EQ(p->GetLastErrorCode(), 0);
    ip->SetUrzadStatystyczny(bank.get()); // a bank is no statistical office
    EXPECT_EQ(p->GetLastErrorCode(), 11);
    ip->SetSadRejonowy(unpostedCourt.get()); // not stored yet
    EXPECT_EQ(p->GetLastErrorCode(), 104);
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zmieniony"));
    const QString stored = QStringLiteral("SELECT value FROM ew_value WHERE record_id = %1 AND symbol = "
                                          "'cDanePodmiotuNazwisko'")
                               .arg(p->GetID());
    const QString links = QStringLiteral("SELECT count(*) FROM ew_link WHERE source_id = %1").arg(p->GetID());
    EXPECT_FALSE(p->Post());
    const int32_t first = p->GetLastErrorCode();
    EXPECT_TRUE(first == 11 || first == 104) << first;
    EXPECT_EQ(RawScalar(m_path, stored).toString(), QStringLiteral("Linkowy"));
    EXPECT_EQ(RawScalar(m_path, links).toInt(), 0);
    // An accepted setter of a refused role clears its refusal; the other one still holds.
    if (first == 11)
        ip->SetUrzadStatystyczny(nullptr);
    else
        ip->SetSadRejonowy(nullptr);
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), first == 11 ? 104 : 11);
    ip->SetUrzadStatystyczny(nullptr);
    ip->SetSadRejonowy(nullptr);
    ASSERT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(RawScalar(m_path, stored).toString(), QStringLiteral("Zmieniony"));
    EXPECT_EQ(RawScalar(m_path, links).toInt(), 1);
    EXPECT_EQ(ip->GetDaneZUS()->GetID(), zus->GetID());
}

TEST_F(SafetyTest, DuplicatesCompareTheDigitsOfIdentifiersWhateverTheSeparators) {
    auto stored = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Zapisany"));
    SetValue(stored.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-74"));
    SetValue(stored.get(), cDanePodmiotuPESEL.Symbol, QStringLiteral("440514 01359"));
    SetValue(stored.get(), cDanePodmiotuREGON.Symbol, QStringLiteral("012345678"));
    SetValue(stored.get(), cDanePodmiotuNIPOF.Symbol, QStringLiteral("PL 123 456 32 18"));
    ASSERT_TRUE(stored->Post());
    auto typed = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Nowa")));
    struct TCase {
        const char16_t* pesel;
        const char16_t* nip;
        const char16_t* regon;
        bool duplicate;
    };
    const TCase cases[] = {
        {u"", u"5260250274", u"", true},
        {u"", u"PL 526 025 02 74", u"", true},
        {u"", u"526.025.02.75", u"", false},
        {u"44051401359", u"", u"", true},
        {u"4405140135", u"", u"", false},
        {u"", u"", u" 01-23-45-678 ", true},
        {u"", u"1234563218", u"", true},
        {u"", u"---", u"", false},
        {u"", u"", u"", false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(typed->HasDuplicate(c.pesel, c.nip, c.regon), c.duplicate)
            << Q(c.pesel).toStdString() << '|' << Q(c.nip).toStdString() << '|' << Q(c.regon).toStdString();
        EXPECT_EQ(typed->GetLastErrorCode(), 0);
    }
    // A subject is no duplicate of itself; a changed identifier stops matching.
    EXPECT_FALSE(Supports<IPodmiot>(stored)->HasDuplicate(u"", u"5260250274", u""));
    SetValue(stored.get(), cDanePodmiotuNIP.Symbol, QString());
    ASSERT_TRUE(stored->Post());
    EXPECT_FALSE(typed->HasDuplicate(u"", u"5260250274", u""));
}

TEST_F(SafetyTest, ListsFollowThePolishAlphabet) {
    for (const auto& [first, last] : std::vector<std::pair<const char*, const char*>>{{"Żaneta", "Żak"},
                                                                                      {"Zenon", "Zając"},
                                                                                      {"Łucja", "Łoś"},
                                                                                      {"Lech", "Lis"},
                                                                                      {"Ćma", "Ćwik"},
                                                                                      {"Cezary", "Cyran"},
                                                                                      {"Śmiały", "Ślusarz"},
                                                                                      {"Sara", "Sowa"},
                                                                                      {"Ósma", "Óbuch"},
                                                                                      {"Ola", "Owca"}})
        NewPodatnik(m_db.get(), QString::fromUtf8(first), QString::fromUtf8(last));
    const QStringList expected = {"Cezary Cyran", "Ćma Ćwik",  "Lech Lis",       "Łucja Łoś",   "Ola Owca",
                                  "Ósma Óbuch",   "Sara Sowa", "Śmiały Ślusarz", "Zenon Zając", "Żaneta Żak"};
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()), expected);
    EXPECT_EQ(ListLines(Reg()->GetPodmioty({}).get()), expected);
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy(u"a").get()),
              QStringList({"Cezary Cyran", "Ćma Ćwik", "Łucja Łoś", "Ola Owca", "Ósma Óbuch", "Sara Sowa",
                           "Śmiały Ślusarz", "Zenon Zając", "Żaneta Żak"}));
}

// Beyond the Polish alphabet names sort by code point on either engine, a server's list
// being put in order on the desk: a character outside the basic plane (two UTF-16 units)
// after one from U+E000 on, though its first unit is the smaller.
TEST_F(SafetyTest, OtherScriptsSortByCodePointOnEveryEngine) {
    const QString fullwidth = QStringLiteral("\uFF21la");              // fullwidth A
    const QString doubleStruck = QString::fromUcs4(U"\U0001D538la");    // mathematical A
    NewPodatnik(m_db.get(), doubleStruck, QStringLiteral("Zet"));
    NewPodatnik(m_db.get(), fullwidth, QStringLiteral("Zet"));
    NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Zet"));
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()),
              QStringList({QStringLiteral("Ala Zet"), fullwidth + QStringLiteral(" Zet"),
                           doubleStruck + QStringLiteral(" Zet")}));
}

// Names that begin alike for longer than a server's list compares at once: a shorter
// name before the longer ones it begins, the same name twice in the order of creation.
TEST_F(SafetyTest, NamesThatBeginAlikeKeepTheirOrderOnEveryEngine) {
    const auto twin = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalczyk"));
    for (const auto& [first, last] : std::vector<std::pair<const char*, const char*>>{{"Jan", "Kowalczykówna"},
                                                                                      {"Jan", "Kowalczykowskiewicz"},
                                                                                      {"Jan", "Kowalczykowska"},
                                                                                      {"Adam", "Kowalczyk"},
                                                                                      {"Jan", "Kowalczykowski"}})
        NewPodatnik(m_db.get(), QString::fromUtf8(first), QString::fromUtf8(last));
    const auto later = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalczyk"));
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()),
              QStringList({"Adam Kowalczyk", "Jan Kowalczyk", "Jan Kowalczyk", "Jan Kowalczykowska",
                           "Jan Kowalczykowski", "Jan Kowalczykowskiewicz", "Jan Kowalczykówna"}));
    TEwidarRowLines rows;
    Supports<IEwidarRowReader>(Reg()->GetPodatnicy({}))->ReadRows(rows);
    ASSERT_EQ(rows.IDs.size(), 7u);
    EXPECT_EQ(rows.IDs[1], twin->GetID());
    EXPECT_EQ(rows.IDs[2], later->GetID());
}

// What is typed into the filter is only ever text to find: quotes, backslashes and the
// wildcards of LIKE match themselves, on a file and on a server alike.
TEST_F(SafetyTest, FilterCharactersMatchThemselves) {
    for (const char* last : {"O'Brien", "Back\\slash", "Sto%", "Pod_kresla"})
        NewPodatnik(m_db.get(), QStringLiteral("Jan"), QString::fromUtf8(last));
    const std::vector<std::pair<const char16_t*, QStringList>> cases = {
        {u"o'b", {"Jan O'Brien"}},
        {u"'", {"Jan O'Brien"}},
        {u"\\", {"Jan Back\\slash"}},
        {u"%", {"Jan Sto%"}},
        {u"_", {"Jan Pod_kresla"}},
        {u"') > 0 or ('' = '", {}},
        {u"\\'", {}},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(ListLines(Reg()->GetPodatnicy(filter).get()), expected) << QString::fromUtf16(filter).toStdString();
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()).size(), 4);
}

TEST_F(SafetyTest, QuotedBlanksOfTheFileNameAreKept) {
    FILE_DATABASE_ONLY();
    const QString odd = m_dir + QStringLiteral("/ odstęp.db ");
    auto db = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=\"%1\";").arg(odd));
    ASSERT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    EXPECT_TRUE(QFile::exists(odd));
    EXPECT_FALSE(QFile::exists(m_dir + QStringLiteral("/ odstęp.db")));
    EXPECT_EQ(Q(param), QStringLiteral("DIR=\"%1\";").arg(odd));
    db->Disconnect();
    // Unquoted, the blanks around a value are no part of it.
    std::u16string plain = U(QStringLiteral("DIR= %1 ;").arg(m_path));
    ASSERT_TRUE(db->Connect(plain, false)) << db->GetLastErrorCode();
    db->Disconnect();
}
