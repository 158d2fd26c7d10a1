// User-defined field definitions per record kind, the data fields they give every
// record of the kind, and the word lists of fields.

#include "BackendFixture.h"
#include "uEwidarQuorDBSymbole.h"

namespace {

constexpr int kPodmiot = 21;
constexpr int kAdres = 3;

TIntfPtr<IDynamicField> Define(IEwidarDataBase* Db, int Kind, const QString& Symbol,
                               const QString& Description, const QString& Type = QStringLiteral("ctEdit")) {
    auto f = Db->GetDynamicFieldsProvider(0)->GetDynamicFields(Kind)->AddField();
    f->SetSymbol(U(Symbol));
    f->SetDescription(U(Description));
    f->SetFieldType(U(Type));
    return f;
}

// "symbol|description|kind" of every definition of a kind, as a fresh list reads them.
QStringList Definitions(IEwidarDataBase* Db, int Kind) {
    QStringList out;
    auto list = Db->GetDynamicFieldsProvider(0)->GetDynamicFields(Kind);
    for (int i = 0; i < list->GetCount(); ++i) {
        auto d = list->GetItem(i);
        out.append(Q(d->GetSymbol()) + u'|' + Q(d->GetDescription()) + u'|' + Q(d->GetFieldType()));
    }
    return out;
}

QStringList Symbols(IEwidarRecord* R) {
    QStringList out;
    auto fields = R->GetDataFields();
    for (int i = 0; i < fields->GetCount(); ++i)
        out.append(Q(fields->GetSymbol(i)));
    return out;
}

QStringList Words(ISlownikField* L) {
    QStringList out;
    for (int i = 0; i < L->GetCount(); ++i)
        out.append(Q(L->GetWord(i)));
    return out;
}

} // namespace

using DynamicFieldsTest = BackendTest;

TEST_F(DynamicFieldsTest, DefinitionsAreStoredAtOnceChangedAndDeleted) {
    auto provider = m_db->GetDynamicFieldsProvider(0);
    ASSERT_TRUE(provider);
    EXPECT_FALSE(provider->GetDynamicFields(0));
    EXPECT_FALSE(provider->GetDynamicFields(22));
    auto kolor = Define(m_db.get(), kPodmiot, QStringLiteral("  cKolor "), QStringLiteral("Kolor teczki"));
    ASSERT_TRUE(kolor->PostDefinition()) << kolor->GetLastErrorCode();
    EXPECT_EQ(Q(kolor->GetSymbol()), QStringLiteral("cKolor")); // a symbol is a key: trimmed
    auto vip = Define(m_db.get(), kPodmiot, QStringLiteral("cVIP"), QStringLiteral("Klient VIP"),
                      QStringLiteral("ctCheckBox"));
    ASSERT_TRUE(vip->PostDefinition());
    ASSERT_TRUE(Define(m_db.get(), kAdres, QStringLiteral("cKolor"), QStringLiteral("Kolor drzwi"))
                    ->PostDefinition());

    auto db2 = Open();
    EXPECT_EQ(Definitions(db2.get(), kPodmiot), (QStringList{QStringLiteral("cKolor|Kolor teczki|ctEdit"),
                                                             QStringLiteral("cVIP|Klient VIP|ctCheckBox")}));
    EXPECT_EQ(Definitions(db2.get(), kAdres), QStringList{QStringLiteral("cKolor|Kolor drzwi|ctEdit")});
    EXPECT_TRUE(Definitions(db2.get(), 1).isEmpty());

    kolor->SetDescription(u"Kolor segregatora");
    kolor->SetFieldType(u"ctMemo");
    ASSERT_TRUE(kolor->PostDefinition());
    ASSERT_TRUE(vip->DeleteDefinition());
    EXPECT_EQ(Definitions(db2.get(), kPodmiot),
              QStringList{QStringLiteral("cKolor|Kolor segregatora|ctMemo")});
    EXPECT_FALSE(vip->DeleteDefinition());
    EXPECT_EQ(vip->GetLastErrorCode(), 104); // now a new, never stored definition
    // A list object keeps showing what it was asked to store and delete.
    auto list = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(kPodmiot);
    ASSERT_EQ(list->GetCount(), 1);
    auto added = list->AddField();
    added->SetSymbol(u"cNowe");
    added->SetDescription(u"Nowe");
    added->SetFieldType(u"ctDate");
    ASSERT_TRUE(added->PostDefinition());
    EXPECT_EQ(list->GetCount(), 2);
    ASSERT_TRUE(list->GetItem(0)->DeleteDefinition());
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(Q(list->GetItem(0)->GetSymbol()), QStringLiteral("cNowe"));
    EXPECT_FALSE(list->GetItem(1));
    EXPECT_EQ(list->GetLastErrorCode(), 106);
    db2->Disconnect();
}

TEST_F(DynamicFieldsTest, IncompleteOrTakenSymbolsAreRefused) {
    ASSERT_TRUE(
        Define(m_db.get(), kPodmiot, QStringLiteral("cKolor"), QStringLiteral("Kolor"))->PostDefinition());
    struct TCase {
        QString symbol, description, type;
        int code;
    };
    const TCase cases[] = {
        {QStringLiteral(""), QStringLiteral("Opis"), QStringLiteral("ctEdit"), 1006},
        {QStringLiteral("   "), QStringLiteral("Opis"), QStringLiteral("ctEdit"), 1006},
        {QStringLiteral("cX"), QStringLiteral(" "), QStringLiteral("ctEdit"), 1006},
        {QStringLiteral("cX"), QStringLiteral("Opis"), QStringLiteral(""), 1006},
        {QStringLiteral("CKOLOR"), QStringLiteral("Opis"), QStringLiteral("ctEdit"), 1005},
        {QStringLiteral("cdanepodmiotunip"), QStringLiteral("NIP"), QStringLiteral("ctEdit"),
         1005}, // a fixed field
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.symbol.toStdString());
        auto d = Define(m_db.get(), kPodmiot, c.symbol, c.description, c.type);
        EXPECT_FALSE(d->PostDefinition());
        EXPECT_EQ(d->GetLastErrorCode(), c.code);
    }
    EXPECT_EQ(Definitions(m_db.get(), kPodmiot).size(), 1);
    // The fixed symbol of another kind, and an unknown editor kind, are accepted.
    EXPECT_TRUE(Define(m_db.get(), kPodmiot, QStringLiteral("cDaneAdresoweUlica"), QStringLiteral("Ulica"),
                       QStringLiteral("ctFancy"))
                    ->PostDefinition());
    // Keeping its own symbol in another letter case is no clash with itself.
    auto list = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(kPodmiot);
    auto own = list->GetItem(0);
    own->SetSymbol(u"CKolor");
    EXPECT_TRUE(own->PostDefinition()) << own->GetLastErrorCode();
    // A definition deleted at another desk cannot be changed here.
    auto db2 = Open();
    ASSERT_TRUE(db2->GetDynamicFieldsProvider(0)->GetDynamicFields(kPodmiot)->GetItem(0)->DeleteDefinition());
    own->SetDescription(u"Inny");
    EXPECT_FALSE(own->PostDefinition());
    EXPECT_EQ(own->GetLastErrorCode(), 106);
    db2->Disconnect();
}

TEST_F(DynamicFieldsTest, RecordsOfTheKindOfferEveryDefinedFieldAndKeepValuesOfDeletedOnes) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Nowak"));
    auto kolor = Define(m_db.get(), kPodmiot, QStringLiteral("cKolor"), QStringLiteral("Kolor"));
    ASSERT_TRUE(kolor->PostDefinition());
    ASSERT_TRUE(
        Define(m_db.get(), kAdres, QStringLiteral("cPietro"), QStringLiteral("Piętro"))->PostDefinition());
    const int fixed = FieldsOfKind(kPodmiot).size();

    auto fresh = Supports<IEwidarListCollection>(Reg()->GetPodatnicy({}))->GetItem(0);
    QStringList symbols = Symbols(fresh.get());
    ASSERT_EQ(symbols.size(), fixed + 1);
    EXPECT_EQ(symbols.last(), QStringLiteral("cKolor"));
    EXPECT_FALSE(symbols.contains(QStringLiteral("cPietro")));
    EXPECT_EQ(Symbols(Supports<IPodmiot>(fresh)->GetAdresy()->New().get()).last(), QStringLiteral("cPietro"));
    SetValue(fresh.get(), QStringLiteral("cKolor"), QStringLiteral("zielony"));
    auto f = fresh->GetDataFields()->GetDataField(u"cKolor");
    f->SetCaption(u"Kolor");
    f->SetFieldType(u"ctEdit");
    ASSERT_TRUE(fresh->Post());

    // Deleting the definition leaves the value in the record, still reachable by its symbol.
    ASSERT_TRUE(kolor->DeleteDefinition());
    ASSERT_TRUE(fresh->Refresh());
    symbols = Symbols(fresh.get());
    EXPECT_EQ(symbols.size(), fixed + 1);
    EXPECT_TRUE(symbols.contains(QStringLiteral("cKolor")));
    auto kept = fresh->GetDataFields()->GetDataField(u"cKolor");
    EXPECT_EQ(Q(kept->GetValue()), QStringLiteral("zielony"));
    EXPECT_EQ(Q(kept->GetCaption()), QStringLiteral("Kolor"));
    EXPECT_EQ(Q(kept->GetFieldType()), QStringLiteral("ctEdit"));
    // A record without a value for it no longer lists the symbol.
    auto other = NewPodatnik(m_db.get(), QStringLiteral("Ewa"), QStringLiteral("Lis"));
    EXPECT_EQ(Symbols(other.get()).size(), fixed);
    // Restoring the definition brings the stored value back under it.
    ASSERT_TRUE(
        Define(m_db.get(), kPodmiot, QStringLiteral("cKolor"), QStringLiteral("Kolor"))->PostDefinition());
    ASSERT_TRUE(p->Refresh());
    EXPECT_EQ(Value(p.get(), QStringLiteral("cKolor")), QStringLiteral("zielony"));
}

TEST_F(DynamicFieldsTest, WordListsChangeInMemoryAndAreStoredByPost) {
    auto slownik = m_db->GetSlownikProvider(0)->GetSlownik(kPodmiot);
    ASSERT_TRUE(slownik);
    EXPECT_FALSE(m_db->GetSlownikProvider(0)->GetSlownik(0));
    EXPECT_FALSE(slownik->GetWordList(u""));
    auto uwagi = slownik->GetWordList(U(cUwagi.Symbol));
    ASSERT_TRUE(uwagi);
    EXPECT_EQ(uwagi->GetCount(), 0);
    for (const char16_t* w : {u"pilne", u"VIP", u"pilne", u"", u"   ", u"zalega z opłatą", u"do kontaktu"})
        uwagi->AddWord(w);
    EXPECT_EQ(Words(uwagi.get()),
              (QStringList{QStringLiteral("pilne"), QStringLiteral("VIP"), QStringLiteral("zalega z opłatą"),
                           QStringLiteral("do kontaktu")}));
    uwagi->ChangeWord(u"VIP", u"VIP+");          // keeps its place
    uwagi->ChangeWord(u"brak", u"x");            // nothing to change
    uwagi->ChangeWord(u"pilne", u"   ");         // a blank word is never kept
    uwagi->ChangeWord(u"do kontaktu", u"pilne"); // merges into an existing word
    uwagi->DeleteWord(u"zalega z opłatą");
    uwagi->DeleteWord(u"nie ma");
    const QStringList expected{QStringLiteral("pilne"), QStringLiteral("VIP+")};
    EXPECT_EQ(Words(uwagi.get()), expected);
    // The same list object for the symbol; nothing stored before Post.
    EXPECT_EQ(Words(slownik->GetWordList(U(cUwagi.Symbol)).get()), expected);
    auto db2 = Open();
    EXPECT_EQ(db2->GetSlownikProvider(0)->GetSlownik(kPodmiot)->GetWordList(U(cUwagi.Symbol))->GetCount(), 0);
    ASSERT_TRUE(slownik->Post()) << slownik->GetLastErrorCode();
    EXPECT_EQ(Words(db2->GetSlownikProvider(0)->GetSlownik(kPodmiot)->GetWordList(U(cUwagi.Symbol)).get()),
              expected);
    // Lists are per kind and per symbol.
    EXPECT_EQ(db2->GetSlownikProvider(0)->GetSlownik(kAdres)->GetWordList(U(cUwagi.Symbol))->GetCount(), 0);
    EXPECT_EQ(db2->GetSlownikProvider(0)->GetSlownik(kPodmiot)->GetWordList(u"cKolor")->GetCount(), 0);
    db2->Disconnect();
}

TEST_F(DynamicFieldsTest, PostReplaysChangesSoWordsOfAnotherDeskAreKept) {
    auto mine = m_db->GetSlownikProvider(0)->GetSlownik(kPodmiot);
    auto list = mine->GetWordList(u"cMiasto");
    list->AddWord(u"Kraków");
    list->AddWord(u"Łódź");
    ASSERT_TRUE(mine->Post());
    auto db2 = Open();
    auto theirs = db2->GetSlownikProvider(0)->GetSlownik(kPodmiot);
    auto theirList = theirs->GetWordList(u"cMiasto");
    ASSERT_EQ(theirList->GetCount(), 2);
    theirList->AddWord(u"Gdańsk");
    theirList->DeleteWord(u"Kraków");
    ASSERT_TRUE(theirs->Post());
    // Meanwhile this desk changes a word the other deleted and adds another.
    list->ChangeWord(u"Kraków", u"Krakow");
    list->AddWord(u"Poznań");
    ASSERT_TRUE(mine->Post());
    EXPECT_EQ(Words(list.get()), (QStringList{QStringLiteral("Łódź"), QStringLiteral("Gdańsk"),
                                              QStringLiteral("Krakow"), QStringLiteral("Poznań")}));
    // A dictionary that cannot be stored keeps its changes for a later Post.
    list->AddWord(u"Opole");
    m_db->Disconnect();
    EXPECT_FALSE(mine->Post());
    EXPECT_EQ(mine->GetLastErrorCode(), 103);
    EXPECT_TRUE(Words(list.get()).contains(QStringLiteral("Opole")));
    EXPECT_EQ(Words(theirs->GetWordList(u"cMiasto").get()).size(), 2); // the other desk's own view
    // Delete empties every list of the kind at once.
    ASSERT_TRUE(theirs->Delete());
    EXPECT_EQ(theirList->GetCount(), 0);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_word")).toInt(), 0);
    db2->Disconnect();
}
