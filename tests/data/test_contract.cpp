// Reference counting, kind tests and the fixed kind orders of the data contract.

#include "FakeSubject.h"
#include "uEwidarKinds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace EwidarKinds;

int g_alive = 0;

// Minimal record of a chosen kind: every operation answers trivially.
template <class Kind> class TTestRecord : public TInterfacedObject<Kind> {
public:
    TTestRecord() { ++g_alive; }
    ~TTestRecord() override { --g_alive; }
    int32_t GetLastErrorCode() override { return 0; }
    bool IsNew() override { return false; }
    int32_t GetID() override { return 7; }
    TIntfPtr<IDataFields> GetDataFields() override { return {}; }
    TIntfPtr<IEwidarRecordInfo> GetRecordInfo() override { return {}; }
    bool Post() override { return true; }
    bool Delete() override { return true; }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    bool Refresh() override { return true; }
};

class TTestAdres : public TTestRecord<IAdres> {};
class TTestOddzial : public TTestRecord<IOddzial> {};
class TTestRekordDodatkowy : public TTestRecord<IRekordDodatkowy> {};

// A subject with every operation answering trivially; Kind is IPodmiot or a specialisation.
template <class Kind> using TTestPodmiotBase = FakeSubjectOps<TTestRecord<Kind>>;

class TTestPodatnik : public TTestPodmiotBase<IPodatnik> {
public:
    TIntfPtr<IPracownicy> GetPracownicy(int32_t, int32_t) override { return {}; }
    TIntfPtr<IKontrahenci> GetKontrahenci(int32_t, int32_t) override { return {}; }
};

class TTestPodmiot : public TTestPodmiotBase<IPodmiot> {};

// A collection of all subjects holding one record.
class TTestPodmioty : public TInterfacedObject<IPodmioty> {
public:
    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return 1; }
    void SetFilter(const std::u16string&) override {}
    void SetOnChange(TNotifyEvent) override {}
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        if (Index != 0)
            return {};
        return MakeIntf<IEwidarRecord, TTestPodmiot>();
    }
};

TEST(ReferenceCounting, SmartPointerAcquiresAndReleases) {
    {
        TIntfPtr<IAdres> a = MakeIntf<IAdres, TTestAdres>();
        EXPECT_EQ(g_alive, 1);
        TIntfPtr<IAdres> b = a;            // copy acquires
        TIntfPtr<IEwidarRecord> c = a;     // conversion to a parent acquires
        TIntfPtr<IAdres> d = std::move(b); // move transfers
        EXPECT_FALSE(b);
        a.reset();
        c = nullptr;
        EXPECT_EQ(g_alive, 1);
        EXPECT_TRUE(d);
    }
    EXPECT_EQ(g_alive, 0);
}

TEST(ReferenceCounting, AdoptTakesOverAndDetachGivesUp) {
    IAdres* raw = nullptr;
    {
        TIntfPtr<IAdres> a = MakeIntf<IAdres, TTestAdres>();
        raw = a.detach();
    }
    EXPECT_EQ(g_alive, 1);
    {
        auto owner = TIntfPtr<IAdres>::adopt(raw);
        EXPECT_EQ(g_alive, 1);
    }
    EXPECT_EQ(g_alive, 0);
}

TEST(ReferenceCounting, QueryInterfaceHandsOutAReference) {
    TIntfPtr<IEwidarRecord> rec = MakeIntf<IEwidarRecord, TTestPodatnik>();
    for (int i = 0; i < 3; ++i) {
        auto p = Supports<IPodmiot>(rec);
        ASSERT_TRUE(p);
    }
    // Identity through the root interface is stable.
    auto i1 = Supports<IInterface>(rec);
    auto i2 = Supports<IInterface>(Supports<IPodatnik>(rec));
    EXPECT_EQ(i1.get(), i2.get());
    rec.reset();
    i1.reset();
    i2.reset();
    EXPECT_EQ(g_alive, 0);
}

TEST(KindTests, SupportsFollowsTheParentChainOnly) {
    TIntfPtr<IEwidarRecord> rec = MakeIntf<IEwidarRecord, TTestPodatnik>();
    EXPECT_TRUE(Supports<IPodatnik>(rec));
    EXPECT_TRUE(Supports<IPodmiot>(rec));
    EXPECT_TRUE(Supports<IEwidarRecord>(rec));
    EXPECT_TRUE(Supports<ICustomObject>(rec));
    EXPECT_FALSE(Supports<IPracownik>(rec));
    EXPECT_FALSE(Supports<IAdres>(rec));
    EXPECT_FALSE(Supports<IEwidarCollection>(rec));
    EXPECT_FALSE(Supports<IPodmiot>(static_cast<IInterface*>(nullptr)));
}

TEST(KindOrders, PositionsOfRecordKinds) {
    EXPECT_EQ(KindPosition(MakeIntf<IEwidarRecord, TTestAdres>().get()), 3);
    EXPECT_EQ(KindPosition(MakeIntf<IEwidarRecord, TTestOddzial>().get()), 5);
    EXPECT_EQ(KindPosition(MakeIntf<IEwidarRecord, TTestRekordDodatkowy>().get()), 18);
    // Specialisations of a subject share the subject's position.
    EXPECT_EQ(KindPosition(MakeIntf<IEwidarRecord, TTestPodatnik>().get()), PodmiotPosition);
    EXPECT_EQ(KindPosition(nullptr), 0);
    EXPECT_EQ(KindIID(0), nullptr);
    EXPECT_EQ(KindIID(22), nullptr);
    EXPECT_TRUE(*KindIID(21) == IPodmiot::IID);
    EXPECT_STREQ(KindName(1), "IObywatelstwo");
    EXPECT_STREQ(KindName(20), "IBiuroRachunkowe");
    EXPECT_EQ(g_alive, 0);
}

TEST(KindOrders, IdentifiersAreDistinct) {
    for (int a = 1; a <= KindCount; ++a)
        for (int b = a + 1; b <= KindCount; ++b)
            EXPECT_FALSE(*KindIID(a) == *KindIID(b)) << KindName(a) << " " << KindName(b);
}

TEST(KindOrders, TopLevelAndSameKind) {
    auto podatnik = MakeIntf<IEwidarRecord, TTestPodatnik>();
    auto podmiot = MakeIntf<IEwidarRecord, TTestPodmiot>();
    auto adres = MakeIntf<IEwidarRecord, TTestAdres>();
    auto dodatkowy = MakeIntf<IEwidarRecord, TTestRekordDodatkowy>();
    EXPECT_TRUE(IsTopLevel(podatnik.get()));
    EXPECT_TRUE(IsTopLevel(dodatkowy.get()));
    EXPECT_FALSE(IsTopLevel(adres.get()));
    EXPECT_TRUE(SameKind(podatnik.get(), podmiot.get()));
    EXPECT_FALSE(SameKind(podatnik.get(), adres.get()));
    EXPECT_FALSE(SameKind(adres.get(), nullptr));
}

TEST(CollectionFamilies, AllSubjectsReadButNeverAdd) {
    auto all = MakeIntf<IEwidarCollection, TTestPodmioty>();
    EXPECT_EQ(CollectionFamily(all.get()), TCollectionFamily::cfAllSubjects);
    auto item = CollectionGetItem(all.get(), 0);
    ASSERT_TRUE(item);
    EXPECT_TRUE(Supports<IPodmiot>(item));
    EXPECT_FALSE(CollectionGetItem(all.get(), 1));
    EXPECT_FALSE(CollectionNew(all.get()));
    EXPECT_EQ(CollectionFamily(nullptr), TCollectionFamily::cfNone);
    item.reset();
    all.reset();
    EXPECT_EQ(g_alive, 0);
}

} // namespace
