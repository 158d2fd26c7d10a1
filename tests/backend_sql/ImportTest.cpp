// Import of another database: everything the source holds arrives with its links
// and descriptions; a cancel or a failure leaves the target as it was.

#include "BackendFixture.h"
#include "RichData.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFile>

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

    TIntfPtr<IEwidarDataBase> m_source;
};

} // namespace

TEST_F(ImportTest, CopiesEveryRecordLinkPersonDefinitionAndWordList) {
    FillRichSource(m_source.get(), 4);
    const QStringList expected = Snapshot(m_source.get());
    ASSERT_GT(expected.size(), 100);
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(m_db->GetLastErrorCode(), 0);
    const QStringList copied = Snapshot(m_db.get());
    EXPECT_EQ(copied, expected);
    for (qsizetype i = 0; i < std::min(copied.size(), expected.size()); ++i)
        if (copied[i] != expected[i]) {
            ADD_FAILURE() << "first difference:\n"
                          << copied[i].toStdString() << "\n"
                          << expected[i].toStdString();
            break;
        }
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

TEST_F(ImportTest, CancelAtHalfLeavesTheTargetAsItWas) {
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
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
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
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 62);
}

TEST_F(ImportTest, AFailingSourceGivesCode203AndLeavesTheTargetAsItWas) {
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
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    std::u16string text, link;
    ASSERT_TRUE(Backend().GetLastError(203, m_db->GetDataBaseID(), text, link));
    EXPECT_TRUE(Q(text).contains(QStringLiteral("kod 103"))) << Q(text).toStdString();
    EXPECT_EQ(Snapshot(m_db.get()), before);
    // A handler that throws is a failure too.
    m_source = Open(AnotherDataBase());
    m_db->SetOnProgress([](int32_t, bool&) { throw std::runtime_error("handler"); });
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
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

TEST_F(ImportTest, AnEmptySourceImportsNothingAndReportsItsProgress) {
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(log.seen, (std::vector<int>{0, 90, 100}));
    EXPECT_EQ(Snapshot(m_db.get()), before);
}
