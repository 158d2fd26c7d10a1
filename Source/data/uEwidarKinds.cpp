#include "uEwidarKinds.h"

#include <array>

namespace EwidarKinds {

namespace {

struct KindEntry {
    const TGUID* iid;
    const char* name;
};

#define KIND(I)                                                                                              \
    KindEntry {                                                                                              \
        &I::IID, #I                                                                                          \
    }

// Position n is element n-1.
const std::array<KindEntry, KindCount> kKinds = {
    KIND(IObywatelstwo),
    KIND(IDokumentTozsamosci),
    KIND(IAdres),
    KIND(IAdresDzialalnosci),
    KIND(IOddzial),
    KIND(IRodzajDzialalnosci),
    KIND(IDaneZUS),
    KIND(IUrzadStatystyczny),
    KIND(IDaneNFZ),
    KIND(ISadRejonowy),
    KIND(IDaneBanku),
    KIND(INrIdentyfikacyjny),
    KIND(IWspolnik),
    KIND(ISpolka),
    KIND(ISpolkaPodmiotu),
    KIND(IRachunekBankowy),
    KIND(IDaneZamawiajacego),
    KIND(IRekordDodatkowy),
    KIND(IReprezentant),
    KIND(IBiuroRachunkowe),
    KIND(IPodmiot),
};

#undef KIND

const std::array<const TGUID*, 9> kTopLevel = {
    &IBiuroRachunkowe::IID,   &IRekordDodatkowy::IID, &ISadRejonowy::IID, &IDaneNFZ::IID,
    &IUrzadStatystyczny::IID, &IDaneZUS::IID,         &IDaneBanku::IID,   &ISpolka::IID,
    &IPodmiot::IID,
};

} // namespace

const TGUID* KindIID(int32_t Position) {
    if (Position < 1 || Position > KindCount)
        return nullptr;
    return kKinds[Position - 1].iid;
}

const char* KindName(int32_t Position) {
    if (Position < 1 || Position > KindCount)
        return "";
    return kKinds[Position - 1].name;
}

int32_t KindPosition(IInterface* Record) {
    for (int32_t i = 0; i < KindCount; ++i)
        if (SupportsIID(Record, *kKinds[i].iid))
            return i + 1;
    return 0;
}

bool IsTopLevel(IInterface* Record) {
    for (const TGUID* iid : kTopLevel)
        if (SupportsIID(Record, *iid))
            return true;
    return false;
}

bool SameKind(IInterface* A, IInterface* B) {
    if (!A || !B)
        return false;
    for (const KindEntry& k : kKinds)
        if (SupportsIID(A, *k.iid) && SupportsIID(B, *k.iid))
            return true;
    return false;
}

TCollectionFamily CollectionFamily(IInterface* Collection) {
    if (SupportsIID(Collection, IEwidarSectionCollection::IID))
        return TCollectionFamily::cfSections;
    if (SupportsIID(Collection, IEwidarListCollection::IID))
        return TCollectionFamily::cfLists;
    if (SupportsIID(Collection, IEwidarPeopleCollection::IID))
        return TCollectionFamily::cfPeople;
    if (SupportsIID(Collection, IPodmioty::IID))
        return TCollectionFamily::cfAllSubjects;
    return TCollectionFamily::cfNone;
}

TIntfPtr<IEwidarRecord> CollectionGetItem(IInterface* Collection, int32_t Index) {
    if (auto c = Supports<IEwidarSectionCollection>(Collection))
        return c->GetItem(Index);
    if (auto c = Supports<IEwidarListCollection>(Collection))
        return c->GetItem(Index);
    if (auto c = Supports<IEwidarPeopleCollection>(Collection))
        return c->GetItem(Index);
    if (auto c = Supports<IPodmioty>(Collection))
        return c->GetItem(Index);
    return {};
}

TIntfPtr<IEwidarRecord> CollectionNew(IInterface* Collection) {
    if (auto c = Supports<IEwidarSectionCollection>(Collection))
        return c->New();
    if (auto c = Supports<IEwidarListCollection>(Collection))
        return c->New();
    if (auto c = Supports<IEwidarPeopleCollection>(Collection))
        return c->New();
    return {};
}

} // namespace EwidarKinds
