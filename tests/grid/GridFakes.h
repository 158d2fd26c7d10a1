#pragma once
// In-test records and collections of every family, for the grid and the list frame.

#include "uEwidarQuorDBIntf.h"
#include "uStrings.h"

#include <QString>
#include <QStringList>

#include <vector>

class FakeRecordInfo : public TInterfacedObject<IEwidarRecordInfo> {
public:
    FakeRecordInfo(QStringList Lines, QString Summary)
        : m_lines(std::move(Lines)), m_summary(std::move(Summary)) {}
    int32_t GetCount() override { return static_cast<int32_t>(m_lines.size()); }
    std::u16string GetLine(int32_t Index) override { return toU16(m_lines.value(Index)); }
    std::u16string GetSummary() override { return toU16(m_summary); }

private:
    QStringList m_lines;
    QString m_summary;
};

// What a test sets and reads of a fake record, whatever its kind.
struct FakeRecordState {
    FakeRecordState(int32_t Id, QStringList Parts) : ID(Id), Parts(std::move(Parts)) {}
    virtual ~FakeRecordState() = default;

    int32_t ID;
    QStringList Parts;
    QString Summary;
    bool New = false;
    bool NoInfo = false;
    bool DeleteOk = true;
    int32_t DeleteError = 0;
    int32_t ErrorCode = 0;
    int DeleteCalls = 0;
    bool Deleted = false;
};

// The state behind a record created by the fakes.
inline FakeRecordState* StateOf(IEwidarRecord* Record) {
    return dynamic_cast<FakeRecordState*>(Record);
}

// A record of kind I whose description parts and answers a test sets.
template <class I = IEwidarRecord> class FakeRecordOf : public TInterfacedObject<I>, public FakeRecordState {
public:
    FakeRecordOf(int32_t Id, QStringList Parts) : FakeRecordState(Id, std::move(Parts)) {}

    int32_t GetLastErrorCode() override { return ErrorCode; }
    bool IsNew() override { return New; }
    int32_t GetID() override { return ID; }
    TIntfPtr<IDataFields> GetDataFields() override { return {}; }
    TIntfPtr<IEwidarRecordInfo> GetRecordInfo() override {
        if (NoInfo)
            return {};
        return MakeIntf<IEwidarRecordInfo, FakeRecordInfo>(Parts,
                                                           Summary.isNull() ? Parts.join(u',') : Summary);
    }
    bool Post() override { return true; }
    bool Delete() override {
        ++DeleteCalls;
        if (DeleteOk)
            Deleted = true;
        else
            ErrorCode = DeleteError;
        return DeleteOk;
    }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    bool Refresh() override { return true; }
};
using FakeRecord = FakeRecordOf<IEwidarRecord>;

// A collection of kind K (any family). Operations of other families are plain
// members here, so one template serves every kind. The filter keeps the
// records with a description part that contains the text.
template <class K, class... More> class FakeCollection : public TInterfacedObject<K, More...> {
public:
    int32_t GetLastErrorCode() override { return ErrorCode; }
    int32_t GetCount() override {
        ++CountCalls;
        return static_cast<int32_t>(Visible().size());
    }
    void SetFilter(const std::u16string& Text) override {
        ++FilterCalls;
        Filter = toQ(Text);
    }
    void SetOnChange(TNotifyEvent Handler) override { OnChange = std::move(Handler); }
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) {
        ++ItemCalls;
        const auto visible = Visible();
        if (Index < 0 || Index >= static_cast<int32_t>(visible.size()))
            return {};
        return visible[static_cast<size_t>(Index)];
    }
    TIntfPtr<IEwidarRecord> New() {
        ++NewCalls;
        auto r = MakeIntf<FakeRecord, FakeRecord>(0, QStringList());
        r->New = true;
        return r;
    }
    void AddExisting(IEwidarRecord*) {}
    void SetActivityFilter(int32_t Activity, const std::u16string& Text) {
        ++FilterCalls;
        LastActivity = Activity;
        Filter = toQ(Text);
    }
    TIntfPtr<IEwidarRecord> NewForPodatnik(IEwidarRecord* Podatnik) {
        NewForPodatnikCalls++;
        ChosenPodatnik = TIntfPtr<IEwidarRecord>(Podatnik);
        return New();
    }
    bool FillDefaults() { return true; }

    // Appends a record of type R and returns it for the test to adjust.
    template <class R = FakeRecord> R* Add(int32_t Id, QStringList Parts) {
        auto r = MakeIntf<R, R>(Id, std::move(Parts));
        Records.push_back(TIntfPtr<IEwidarRecord>(r.get()));
        return r.get();
    }

    std::vector<TIntfPtr<IEwidarRecord>> Records;
    QString Filter;
    TNotifyEvent OnChange;
    int32_t ErrorCode = 0;
    int32_t LastActivity = -1;
    int FilterCalls = 0;
    int CountCalls = 0;
    int ItemCalls = 0;
    int NewCalls = 0;
    int NewForPodatnikCalls = 0;
    TIntfPtr<IEwidarRecord> ChosenPodatnik;

protected:
    std::vector<TIntfPtr<IEwidarRecord>> Visible() const {
        std::vector<TIntfPtr<IEwidarRecord>> out;
        for (const auto& r : Records) {
            if (StateOf(r.get())->Deleted)
                continue; // a deleted record is gone from the next reading
            if (Filter.isEmpty()) {
                out.push_back(r);
                continue;
            }
            for (const QString& p : StateOf(r.get())->Parts)
                if (p.contains(Filter)) {
                    out.push_back(r);
                    break;
                }
        }
        return out;
    }
};

template <class K> TIntfPtr<FakeCollection<K>> MakeCollection() {
    return MakeIntf<FakeCollection<K>, FakeCollection<K>>();
}

// A collection that also hands over every row's identifier and lines in one pass.
// LineCount: the lines per row it gives (a record's missing parts read empty).
template <class K> class FakeRowCollection final : public FakeCollection<K, IEwidarRowReader> {
public:
    bool ReadRows(TEwidarRowLines& Out) override {
        ++ReadCalls;
        Out = {};
        Out.LineCount = LineCount;
        for (const auto& r : this->Visible()) {
            Out.IDs.push_back(r->GetID());
            for (int l = 0; l < LineCount; ++l) {
                Out.Text += toU16(StateOf(r.get())->Parts.value(l));
                Out.Ends.push_back(static_cast<int32_t>(Out.Text.size()));
            }
        }
        return true;
    }
    TIntfPtr<IEwidarRecord> GetItemByID(int32_t ID) override {
        ++ByIDCalls;
        for (const auto& r : this->Visible())
            if (r->GetID() == ID)
                return r;
        return {};
    }
    int32_t LineCount = 2;
    int ReadCalls = 0;
    int ByIDCalls = 0;
};

template <class K> TIntfPtr<FakeRowCollection<K>> MakeRowCollection() {
    return MakeIntf<FakeRowCollection<K>, FakeRowCollection<K>>();
}
