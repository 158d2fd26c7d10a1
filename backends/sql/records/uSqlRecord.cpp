#include "uSqlRecord.h"
#include "uSqlAccess.h"

#include "uEwidarKinds.h"
#include "uSqlCollections.h"
#include "uSqlDescribe.h"
#include "uSqlFields.h"
#include "uSqlPodmiot.h"
#include "uSqlRecordStore.h"
#include "uSqlSession.h"

using namespace SqlKinds;
using SqlCollections::TListSpec;
using SqlCollections::TScope;

namespace {

class TSqlRecordInfo final : public TInterfacedObject<IEwidarRecordInfo> {
public:
    explicit TSqlRecordInfo(QStringList Lines) : m_lines(std::move(Lines)) {}
    int32_t GetCount() override { return static_cast<int32_t>(m_lines.size()); }
    std::u16string GetLine(int32_t Index) override {
        return Index >= 0 && Index < m_lines.size() ? m_lines[Index].toStdU16String() : std::u16string();
    }
    std::u16string GetSummary() override { return SqlDescribe::CommaText(m_lines).toStdU16String(); }

private:
    QStringList m_lines;
};

// Records that subjects refer to: ZUS, statistical office, NFZ, court, accounting office.
template <class I, int Role> class TReferencedRecord final : public TSqlRecordBase<I> {
public:
    using TSqlRecordBase<I>::TSqlRecordBase;
    TIntfPtr<IPodmioty> GetPodmioty() override {
        return Guarded(this->m_s->error, TIntfPtr<IPodmioty>(), [&] {
            return SqlCollections::Make<IPodmioty>(
                this->m_s->conn, TListSpec{kPodmiot, TScope::scReferencing, this->m_s->id, Role, true});
        });
    }
};

class TDaneBankuRecord final : public TSqlRecordBase<IDaneBanku> {
public:
    using TSqlRecordBase::TSqlRecordBase;
    TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() override {
        return Guarded(m_s->error, TIntfPtr<IRachunkiBankowe>(), [&] {
            return SqlCollections::Make<IRachunkiBankowe>(
                m_s->conn, TListSpec{kRachunekBankowy, TScope::scReferencing, m_s->id, lrDaneBanku, true});
        });
    }
};

class TSpolkaRecord final : public TSqlRecordBase<ISpolka> {
public:
    using TSqlRecordBase::TSqlRecordBase;
    TIntfPtr<IWspolnicy> GetWspolnicy() override {
        return Guarded(m_s->error, TIntfPtr<IWspolnicy>(), [&] {
            return SqlCollections::Make<IWspolnicy>(m_s->conn,
                                                    TListSpec{kWspolnik, TScope::scOwner, m_s->id});
        });
    }
    TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() override {
        return Guarded(m_s->error, TIntfPtr<ISpolkiPodmiotu>(), [&] {
            return SqlCollections::Make<ISpolkiPodmiotu>(
                m_s->conn, TListSpec{kSpolkaPodmiotu, TScope::scReferencing, m_s->id, lrSpolka, true});
        });
    }
};

class TSpolkaPodmiotuRecord final : public TSqlRecordBase<ISpolkaPodmiotu> {
public:
    using TSqlRecordBase::TSqlRecordBase;
    void SetSpolka(IEwidarRecord* Record) override { SetLinkFrom(lrSpolka, Record); }
    TIntfPtr<ISpolka> GetSpolka() override { return LinkedAs<ISpolka>(lrSpolka); }
};

class TRachunekRecord final : public TSqlRecordBase<IRachunekBankowy> {
public:
    using TSqlRecordBase::TSqlRecordBase;
    void SetDaneBanku(IEwidarRecord* Record) override { SetLinkFrom(lrDaneBanku, Record); }
    TIntfPtr<IDaneBanku> GetDaneBanku() override { return LinkedAs<IDaneBanku>(lrDaneBanku); }
};

class TReprezentantRecord final : public TSqlRecordBase<IReprezentant> {
public:
    using TSqlRecordBase::TSqlRecordBase;
    void SetPodmiot(IEwidarRecord* Record) override { SetLinkFrom(lrPodmiot, Record); }
    TIntfPtr<IPodmiot> GetPodmiot() override { return LinkedAs<IPodmiot>(lrPodmiot); }
};

template <class I> TIntfPtr<IEwidarRecord> Plain(const TRecordStatePtr& S) {
    return MakeIntf<IEwidarRecord, TSqlRecordBase<I>>(S);
}

} // namespace

TIntfPtr<IEwidarRecord> MakeRecord(const TRecordStatePtr& S) {
    switch (S->kind) {
    case kObywatelstwo:
        return Plain<IObywatelstwo>(S);
    case kDokumentTozsamosci:
        return Plain<IDokumentTozsamosci>(S);
    case kAdres:
        return Plain<IAdres>(S);
    case kAdresDzialalnosci:
        return Plain<IAdresDzialalnosci>(S);
    case kOddzial:
        return Plain<IOddzial>(S);
    case kRodzajDzialalnosci:
        return Plain<IRodzajDzialalnosci>(S);
    case kDaneZUS:
        return MakeIntf<IEwidarRecord, TReferencedRecord<IDaneZUS, lrDaneZUS>>(S);
    case kUrzadStatystyczny:
        return MakeIntf<IEwidarRecord, TReferencedRecord<IUrzadStatystyczny, lrUrzadStatystyczny>>(S);
    case kDaneNFZ:
        return MakeIntf<IEwidarRecord, TReferencedRecord<IDaneNFZ, lrDaneNFZ>>(S);
    case kSadRejonowy:
        return MakeIntf<IEwidarRecord, TReferencedRecord<ISadRejonowy, lrSadRejonowy>>(S);
    case kDaneBanku:
        return MakeIntf<IEwidarRecord, TDaneBankuRecord>(S);
    case kNrIdentyfikacyjny:
        return Plain<INrIdentyfikacyjny>(S);
    case kWspolnik:
        return Plain<IWspolnik>(S);
    case kSpolka:
        return MakeIntf<IEwidarRecord, TSpolkaRecord>(S);
    case kSpolkaPodmiotu:
        return MakeIntf<IEwidarRecord, TSpolkaPodmiotuRecord>(S);
    case kRachunekBankowy:
        return MakeIntf<IEwidarRecord, TRachunekRecord>(S);
    case kDaneZamawiajacego:
        return Plain<IDaneZamawiajacego>(S);
    case kRekordDodatkowy:
        return Plain<IRekordDodatkowy>(S);
    case kReprezentant:
        return MakeIntf<IEwidarRecord, TReprezentantRecord>(S);
    case kBiuroRachunkowe:
        return MakeIntf<IEwidarRecord, TReferencedRecord<IBiuroRachunkowe, lrBiuroRachunkowe>>(S);
    case kPodmiot:
        return MakePodmiotRecord(S);
    default:
        return {};
    }
}

namespace SqlRecordOps {

bool IsNew(const TRecordState& S) {
    return S.storage == TRecordState::stNew || S.storage == TRecordState::stPlaceholder;
}

TIntfPtr<IDataFields> DataFields(const TRecordStatePtr& S) {
    S->EnsureFields();
    return MakeIntf<IDataFields, TSqlDataFields>(S);
}

TIntfPtr<IEwidarRecordInfo> RecordInfo(const TRecordStatePtr& S) {
    // Never empty: a record whose lines cannot be read describes itself with no lines.
    QStringList lines = Guarded(S->error, QStringList(), [&] { return SqlRecordStore::CurrentLines(*S); });
    return MakeIntf<IEwidarRecordInfo, TSqlRecordInfo>(std::move(lines));
}

void Lock(TRecordState& S) {
    SqlAccess::Demand(*S.conn, SqlAccess::rtView);
    if (S.id == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    SqlSession::Lock(*S.conn, S.id);
}

void Unlock(TRecordState& S) {
    S.conn->Require();
    if (S.id != 0) // a record never stored holds no lock: nothing to release
        SqlSession::Unlock(*S.conn, S.id);
}

void SetLink(TRecordState& S, int Role, IEwidarRecord* Target) {
    if (!Target) {
        S.SetLink(Role, 0);
        return;
    }
    if (Target->GetID() == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    if (EwidarKinds::KindPosition(Target) != TargetKind(Role))
        Fail(SqlErrors::ecFieldType);
    S.SetLink(Role, Target->GetID());
}

TIntfPtr<IEwidarRecord> Linked(TRecordState& S, int Role) {
    const qint64 target = S.Link(Role);
    TRecordStatePtr t = target ? SqlRecordStore::Load(S.conn, target, TargetKind(Role)) : nullptr;
    return t ? MakeRecord(t) : TIntfPtr<IEwidarRecord>();
}

} // namespace SqlRecordOps
