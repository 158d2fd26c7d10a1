#pragma once
// Record objects: one template implements the operations every record shares over
// its TRecordState; the kinds add their link and list operations. Every operation
// catches everything and leaves the code in the record's error code.

#include "uEwidarQuorDBIntf.h"
#include "uSqlErrors.h"
#include "uSqlRecordState.h"
#include "uSqlRecordStore.h"

// The record object for a state, by its kind (and face, for subjects).
TIntfPtr<IEwidarRecord> MakeRecord(const TRecordStatePtr& State);

// Shared operations of IEwidarRecord (implemented in uSqlRecord.cpp).
namespace SqlRecordOps {
bool IsNew(const TRecordState& S);
TIntfPtr<IDataFields> DataFields(const TRecordStatePtr& S);
TIntfPtr<IEwidarRecordInfo> RecordInfo(const TRecordStatePtr& S);
void Lock(TRecordState& S);
void Unlock(TRecordState& S);
// Sets a single link from a record chosen by the program (nullptr removes it).
void SetLink(TRecordState& S, int Role, IEwidarRecord* Target);
// The linked record of a role, or nullptr when none is set or it no longer exists.
TIntfPtr<IEwidarRecord> Linked(TRecordState& S, int Role);
} // namespace SqlRecordOps

template <class... I> class TSqlRecordBase : public TInterfacedObject<I...> {
public:
    explicit TSqlRecordBase(TRecordStatePtr State) : m_s(std::move(State)) {}

    int32_t GetLastErrorCode() override { return m_s->error; }
    bool IsNew() override { return SqlRecordOps::IsNew(*m_s); }
    int32_t GetID() override { return static_cast<int32_t>(m_s->id); }
    TIntfPtr<IDataFields> GetDataFields() override {
        return Guarded(m_s->error, TIntfPtr<IDataFields>(), [&] { return SqlRecordOps::DataFields(m_s); });
    }
    TIntfPtr<IEwidarRecordInfo> GetRecordInfo() override { return SqlRecordOps::RecordInfo(m_s); }
    bool Post() override;
    bool Delete() override;
    bool Lock() override {
        return GuardedBool(m_s->error, [&] { SqlRecordOps::Lock(*m_s); });
    }
    bool Unlock() override {
        return GuardedBool(m_s->error, [&] { SqlRecordOps::Unlock(*m_s); });
    }
    bool Refresh() override;

protected:
    template <class T> TIntfPtr<T> LinkedAs(int Role) {
        return Guarded(m_s->error, TIntfPtr<T>(),
                       [&] { return Supports<T>(SqlRecordOps::Linked(*m_s, Role)); });
    }
    // A refused link is remembered, so that the next Post fails with its code instead
    // of storing the record without it.
    void SetLinkFrom(int Role, IEwidarRecord* Target) {
        if (!GuardedBool(m_s->error, [&] { SqlRecordOps::SetLink(*m_s, Role, Target); }))
            m_s->RefuseLink(Role, m_s->error);
    }

    TRecordStatePtr m_s;
};

template <class... I> bool TSqlRecordBase<I...>::Post() {
    return GuardedBool(m_s->error, [&] { SqlRecordStore::Post(*m_s); });
}
template <class... I> bool TSqlRecordBase<I...>::Delete() {
    return GuardedBool(m_s->error, [&] { SqlRecordStore::Delete(*m_s); });
}
template <class... I> bool TSqlRecordBase<I...>::Refresh() {
    return GuardedBool(m_s->error, [&] { SqlRecordStore::Refresh(*m_s); });
}
