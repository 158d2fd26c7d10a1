// Import of another database: everything the source holds arrives with its links
// and descriptions; a cancel or a failure leaves the target as it was.

#include "BackendFixture.h"
#include "FakeDataBase.h"
#include "RichData.h"
#include "TestServer.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <vector>

namespace {

struct TProgressLog {
    std::vector<int> seen;
    int cancelAt = 101;
    std::function<void()> atCancel;
    TProgressEvent Handler() {
        return [this](int32_t p, bool& cancel) {
            seen.push_back(p);
            if (p >= cancelAt) {
                if (atCancel)
                    atCancel();
                else
                    cancel = true;
            }
        };
    }
};

// A database seen through the contract alone, as a root object of another backend shows
// it: the import cannot recognise it and reads it list by list.
class TOtherBackend final : public TFakeDataBase {
public:
    explicit TOtherBackend(TIntfPtr<IEwidarDataBase> Inner) : m_inner(std::move(Inner)) {}
    int32_t GetLastErrorCode() override { return m_inner->GetLastErrorCode(); }
    std::u16string GetDataBaseID() override { return m_inner->GetDataBaseID(); }
    std::u16string GetDataBaseSymbol() override { return m_inner->GetDataBaseSymbol(); }
    TIntfPtr<IEwidarRegistries> GetRegistries() override { return m_inner->GetRegistries(); }
    TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t Reserved) override {
        return m_inner->GetDynamicFieldsProvider(Reserved);
    }
    TIntfPtr<IEwidarSlownikProvider> GetSlownikProvider(int32_t Reserved) override {
        return m_inner->GetSlownikProvider(Reserved);
    }

private:
    TIntfPtr<IEwidarDataBase> m_inner;
};

// What the tables of a database hold, row by row, record identifiers replaced by their
// rank: two databases filled in the same order give the same lines.
QStringList Tables(const QString& Path) {
    const struct {
        const char* sql;
        QList<int> ids; // columns holding record identifiers
    } tables[] = {
        {"SELECT id, kind, owner_id, state, session_id, is_podatnik, is_pracownik, is_kontrahent, line1, "
         "line2, "
         "line3, search, sort_key, version FROM ew_record",
         {0, 2}},
        {"SELECT record_id, symbol, value, caption, field_type FROM ew_value", {0}},
        {"SELECT source_id, role, target_id FROM ew_link", {0, 2}},
        {"SELECT podatnik_id, role, osoba_id, aktywny FROM ew_person", {0, 2}},
        {"SELECT record_id, symbol, digits FROM ew_ident", {0}},
        {"SELECT kind, symbol, symbol_key, description, field_type FROM ew_field", {}},
        {"SELECT kind, symbol, word FROM ew_word", {}},
        {"SELECT kind, counter FROM ew_change", {}},
        {"SELECT event, kind, record_id, subject_id, description, details FROM ew_history", {2, 3}},
    };
    const QString name = QUuid::createUuid().toString();
    QStringList out;
    {
        QSqlDatabase db = AddRawConnection(name, Path);
        EXPECT_TRUE(db.open()) << Path.toStdString();
        QSqlQuery q(db);
        QHash<QString, QString> rank;
        q.exec(QStringLiteral("SELECT id FROM ew_record ORDER BY id"));
        while (q.next())
            rank.insert(q.value(0).toString(), QStringLiteral("#%1").arg(rank.size()));
        for (const auto& t : tables) {
            EXPECT_TRUE(q.exec(QLatin1String(t.sql))) << t.sql;
            while (q.next()) {
                QStringList row{QString::fromLatin1(t.sql).section(u' ', -1)};
                for (int i = 0; i < q.record().count(); ++i) {
                    const QString v = q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString();
                    row << (t.ids.contains(i) && !q.isNull(i) ? rank.value(v, u'?' + v) : v);
                }
                out << row.join(u'|');
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    out.sort();
    return out;
}

// The same number of lines, and the first line that differs, if any.
void ExpectSameLines(const QStringList& Copied, const QStringList& Expected) {
    EXPECT_EQ(Copied.size(), Expected.size());
    for (qsizetype i = 0; i < std::min(Copied.size(), Expected.size()); ++i)
        if (Copied[i] != Expected[i]) {
            ADD_FAILURE() << "first difference:\n"
                          << Copied[i].toStdString() << "\n"
                          << Expected[i].toStdString();
            break;
        }
}

class ImportTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        m_source = Open(AnotherDataBase());
        ASSERT_TRUE(m_source);
    }
    void TearDown() override {
        if (m_source)
            m_source->Disconnect();
        BackendTest::TearDown();
    }
    int Records() { return RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(); }
    // An empty database besides the fixture's and the source.
    QString Fresh(const QString& Name) {
        return ServerDialect() ? TestServer::NewDataBase() : m_dir + u'/' + Name + QStringLiteral(".db");
    }

    TIntfPtr<IEwidarDataBase> m_source;
};

// The tests of what any import promises run over both ways of reading the source: this
// backend's table by table (false) and the contract's list by list (true).
class ImportPathsTest : public ImportTest, public ::testing::WithParamInterface<bool> {
protected:
    TIntfPtr<IEwidarDataBase> Source() {
        return GetParam() ? MakeIntf<IEwidarDataBase, TOtherBackend>(m_source) : m_source;
    }
};

INSTANTIATE_TEST_SUITE_P(Paths, ImportPathsTest, ::testing::Bool(),
                         [](const auto& Info) { return Info.param ? "ListByList" : "TableByTable"; });

} // namespace

TEST_P(ImportPathsTest, CopiesEveryRecordLinkPersonDefinitionAndWordList) {
    FillRichSource(m_source.get(), 4);
    const QStringList expected = Snapshot(m_source.get());
    ASSERT_GT(expected.size(), 100);
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(Source().get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(m_db->GetLastErrorCode(), 0);
    const QStringList copied = Snapshot(m_db.get());
    EXPECT_EQ(copied, expected);
    ExpectSameLines(copied, expected);
    // Progress from 0 to 100, each value once, always growing.
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(log.seen.front(), 0);
    EXPECT_EQ(log.seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(log.seen.begin(), log.seen.end()));
    EXPECT_EQ(std::adjacent_find(log.seen.begin(), log.seen.end()), log.seen.end());
    // Copies have identifiers of their own and the source is untouched.
    EXPECT_EQ(Snapshot(m_source.get()), expected);
}

TEST_F(ImportTest, ImportingIntoAFilledDatabaseAddsAndMergesDefinitionsAndWords) {
    FillRichSource(m_source.get(), 1);
    NewPodatnik(m_db.get(), QStringLiteral("Własny"), QStringLiteral("Podatnik"));
    Define(m_db.get(), 21, QStringLiteral("CKOLOR"), QStringLiteral("Kolor wg celu"));
    auto slownik = m_db->GetSlownikProvider(0)->GetSlownik(21);
    slownik->GetWordList(U(cUwagi.Symbol))->AddWord(u"VIP");
    slownik->GetWordList(U(cUwagi.Symbol))->AddWord(u"własne");
    ASSERT_TRUE(slownik->Post());
    const int sourceSubjects = m_source->GetRegistries()->GetPodmioty({})->GetCount();
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), sourceSubjects + 1);
    EXPECT_EQ(Reg()->GetDaneNFZow({})->GetCount(), 16);
    auto defs = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(21);
    ASSERT_EQ(defs->GetCount(), 1); // the target's own definition of the symbol stays
    EXPECT_EQ(Q(defs->GetItem(0)->GetDescription()), QStringLiteral("Kolor wg celu"));
    EXPECT_EQ(m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(3)->GetCount(), 1);
    auto words = m_db->GetSlownikProvider(0)->GetSlownik(21)->GetWordList(U(cUwagi.Symbol));
    QStringList list;
    for (int i = 0; i < words->GetCount(); ++i)
        list << Q(words->GetWord(i));
    EXPECT_EQ(list, (QStringList{QStringLiteral("VIP"), QStringLiteral("własne"), QStringLiteral("pilne"),
                                 QStringLiteral("stały klient")}));
    // A second import adds the copies once more: records are copied, never matched.
    ASSERT_TRUE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 2 * sourceSubjects + 1);
}

TEST_P(ImportPathsTest, CancelAtHalfLeavesTheTargetAsItWas) {
    for (int i = 0; i < 60; ++i)
        NewPodatnik(m_source.get(), QStringLiteral("Imię%1").arg(i), QStringLiteral("Nazwisko%1").arg(i),
                    QStringLiteral("Gniezno"));
    Define(m_source.get(), 21, QStringLiteral("cKolor"), QStringLiteral("Kolor"));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    const int records = Records();
    TProgressLog log;
    log.cancelAt = 50;
    m_db->SetOnProgress(log.Handler());
    EXPECT_FALSE(m_db->ImportFrom(Source().get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 204);
    ASSERT_FALSE(log.seen.empty());
    EXPECT_GE(log.seen.back(), 50);
    EXPECT_LT(log.seen.back(), 60); // stopped at once
    EXPECT_EQ(Snapshot(m_db.get()), before);
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_field")).toInt(), 0);
    // The write lock is gone: another desk writes at once, and a later import succeeds.
    auto other = Open();
    EXPECT_TRUE(NewPodatnik(other.get(), QStringLiteral("Inne"), QStringLiteral("Stanowisko")));
    other->Disconnect();
    m_db->SetOnProgress(nullptr);
    ASSERT_TRUE(m_db->ImportFrom(Source().get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 62);
}

TEST_P(ImportPathsTest, AFailingSourceGivesCode203AndLeavesTheTargetAsItWas) {
    for (int i = 0; i < 30; ++i)
        NewPodatnik(m_source.get(), QStringLiteral("Imię%1").arg(i), QStringLiteral("Nazwisko%1").arg(i));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    TProgressLog log;
    log.cancelAt = 50;
    log.atCancel = [this] {
        m_source->Disconnect();
    }; // the source goes away half-way
    m_db->SetOnProgress(log.Handler());
    EXPECT_FALSE(m_db->ImportFrom(Source().get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    std::u16string text, link;
    ASSERT_TRUE(Backend().GetLastError(203, m_db->GetDataBaseID(), text, link));
    EXPECT_TRUE(Q(text).contains(QStringLiteral("kod 103"))) << Q(text).toStdString();
    EXPECT_EQ(Snapshot(m_db.get()), before);
    // A handler that throws is a failure too.
    m_source = Open(AnotherDataBase());
    m_db->SetOnProgress([](int32_t, bool&) { throw std::runtime_error("handler"); });
    EXPECT_FALSE(m_db->ImportFrom(Source().get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    EXPECT_EQ(Snapshot(m_db.get()), before);
}

TEST_F(ImportTest, RefusesItselfNoSourceAndAnOpenTransaction) {
    NewPodatnik(m_source.get(), QStringLiteral("A"), QStringLiteral("B"));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const int records = Records();
    auto same = Open(); // the same file through another connection
    EXPECT_FALSE(m_db->ImportFrom(same.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    same->Disconnect();
    EXPECT_FALSE(m_db->ImportFrom(m_db.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    EXPECT_FALSE(m_db->ImportFrom(nullptr));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    auto unconnected = NewRoot();
    EXPECT_FALSE(m_db->ImportFrom(unconnected.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    ASSERT_TRUE(m_db->StartTransaction());
    NewPodatnik(m_db.get(), QStringLiteral("W"), QStringLiteral("Transakcji"));
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    ASSERT_TRUE(m_db->Commit()); // the open transaction was left alone
    EXPECT_EQ(Records(), records + 1);
}

TEST_P(ImportPathsTest, AnEmptySourceImportsNothingAndReportsItsProgress) {
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(Source().get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(log.seen, (std::vector<int>{0, 90, 100}));
    EXPECT_EQ(Snapshot(m_db.get()), before);
}

// Beyond the rich data: identifiers, a subject whose first address has no postal code,
// captions of the user's own, a registry whose order differs from the identifiers', and
// a subject being created at another desk (a placeholder) with an address already posted.
static TIntfPtr<IEwidarRecord> FillEdges(IEwidarDataBase* Db) {
    auto later = NewPodatnik(Db, QStringLiteral("Żaneta"), QStringLiteral("Żak"));
    SetValue(later.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("PL 123-456-32-18"));
    SetValue(later.get(), cDanePodmiotuPESEL.Symbol, QStringLiteral("44051401359"));
    SetValue(later.get(), cDanePodmiotuREGON.Symbol, QStringLiteral("123456785"));
    auto field = later->GetDataFields()->GetDataField(U(cDanePodmiotuNazwisko.Symbol));
    field->SetCaption(u"Nazwisko rodowe");
    field->SetFieldType(u"ctMemo");
    Post(later.get());
    const auto address = [](IPodmiot* Owner, const QString& Symbol, const QString& Value) {
        auto a = Owner->GetAdresy()->New();
        SetValue(a.get(), Symbol, Value);
        Post(a.get());
    };
    address(Supports<IPodmiot>(later).get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Bez kodu"));
    address(Supports<IPodmiot>(later).get(), cDaneAdresoweKodPocztowy.Symbol, QStringLiteral("61-001"));
    NewPodatnik(Db, QStringLiteral("Adam"), QStringLiteral("Abacki"), QStringLiteral("Gniezno"));
    auto placeholder = Db->GetRegistries()->GetPodatnicy({})->New();
    address(Supports<IPodmiot>(placeholder).get(), cDaneAdresoweMiejscowosc.Symbol,
            QStringLiteral("Niewidoczne"));
    return placeholder;
}

// The same source copied through the contract (as from another backend) and table by
// table (as from this one) gives the same target, row for row: the records in the same
// order, their values, captions and kinds, links, people, description lines, sort keys,
// identifier digits and name keys, definitions and words. Within the test's dialect and
// from a database file onto the server.
TEST_F(ImportTest, TableByTableGivesWhatListByListGives) {
    FillRichSource(m_source.get(), 3);
    const auto placeholder = FillEdges(m_source.get());
    for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "from a database file" : "within the dialect");
        if (fromFile && !ServerDialect())
            continue; // the same case as the first under SQLite
        TIntfPtr<IEwidarDataBase> source = m_source;
        if (fromFile) {
            source = NewRoot(QStringLiteral("SQLITE"));
            std::u16string param = U(QStringLiteral("DIR=%1/file-source.db;").arg(m_dir));
            ASSERT_TRUE(source->Connect(param, true)) << source->GetLastErrorCode();
            FillRichSource(source.get(), 2);
            FillEdges(source.get());
        }
        const QString listed = Fresh(QStringLiteral("listed"));
        const QString bulk = Fresh(QStringLiteral("bulk"));
        auto byLists = Open(listed);
        auto byTables = Open(bulk);
        TProgressLog log;
        byTables->SetOnProgress(log.Handler());
        ASSERT_TRUE(byLists->ImportFrom(MakeIntf<IEwidarDataBase, TOtherBackend>(source).get()))
            << byLists->GetLastErrorCode();
        ASSERT_TRUE(byTables->ImportFrom(source.get())) << byTables->GetLastErrorCode();
        byLists->Disconnect();
        byTables->Disconnect();
        const QStringList expected = Tables(listed);
        const QStringList copied = Tables(bulk);
        ExpectSameLines(copied, expected);
        // The comparison covers what it should: digits, name keys, own captions, no placeholder.
        for (const QString& part : {QStringLiteral("ew_ident|#"), QStringLiteral("|1234563218"),
                                    QStringLiteral("|61001 "), QStringLiteral("|Nazwisko rodowe|ctMemo")})
            EXPECT_TRUE(copied.join(u'\n').contains(part)) << part.toStdString();
        EXPECT_FALSE(copied.join(u'\n').contains(QStringLiteral("Niewidoczne")));
        EXPECT_EQ(log.seen.front(), 0);
        EXPECT_EQ(log.seen.back(), 100);
        EXPECT_TRUE(std::is_sorted(log.seen.begin(), log.seen.end()));
        EXPECT_EQ(std::adjacent_find(log.seen.begin(), log.seen.end()), log.seen.end());
        if (fromFile)
            source->Disconnect();
    }
}
