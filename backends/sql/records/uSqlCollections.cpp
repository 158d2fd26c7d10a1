#include "uSqlCollections.h"
#include "uSqlAccess.h"

#include "uSqlDescribe.h"
#include "uSqlErrors.h"
#include "uSqlNfzDefaults.h"
#include "uSqlRecord.h"
#include "uSqlRecordStore.h"

#include <QHash>

#include <type_traits>

namespace SqlCollections {

namespace {

using SqlKinds::TFace;

template <class I>
class TCollectionBase : public TInterfacedObject<I, IEwidarRowReader>, public TChangeListener {
public:
    TCollectionBase(TSqlConnectionPtr C, const TListSpec& Spec, const QString& Filter)
        : m_c(std::move(C)), m_spec(Spec), m_filter(Filter) {
        m_c->AddListener(this);
    }
    ~TCollectionBase() override { m_c->RemoveListener(this); }

    int32_t GetLastErrorCode() override { return m_error; }
    int32_t GetCount() override {
        return Guarded(m_error, int32_t(0), [&] {
            Load();
            return static_cast<int32_t>(m_rows.size());
        });
    }
    void SetFilter(const std::u16string& Text) override {
        m_error = 0;
        m_filter = QString::fromStdU16String(Text);
        m_stale = true;
    }
    void SetOnChange(TNotifyEvent Handler) override { m_onChange = std::move(Handler); }

    void DataChanged(const QSet<int>& Kinds) override {
        if (!Kinds.contains(m_spec.kind))
            return;
        m_stale = true;
        if (!m_onChange)
            return;
        try {
            m_onChange(ListenerObject());
        } catch (...) {
            // A handler of the program must not break the operation that announced the change.
        }
    }
    IInterface* ListenerObject() override { return static_cast<I*>(this); }

    bool ReadRows(TEwidarRowLines& Out) override {
        return GuardedBool(m_error, [&] {
            Load();
            if (m_rows.lent) { // an earlier caller has the lines: read them again
                m_stale = true;
                Load();
            }
            // The lines are handed over, not copied: the caller keeps them, and a record
            // made later from this reading reads its own lines when asked for them.
            Out.IDs.assign(m_rows.ids.begin(), m_rows.ids.end());
            Out.LineCount = m_rows.lineCount;
            Out.Text = std::move(m_rows.text);
            Out.Ends = std::move(m_rows.ends);
            m_rows.text = {};
            m_rows.ends = {};
            m_rows.lent = true;
        });
    }
    TIntfPtr<IEwidarRecord> GetItemByID(int32_t ID) override {
        return Guarded(m_error, TIntfPtr<IEwidarRecord>(), [&] {
            Load();
            if (m_byID.isEmpty() && m_rows.size() > 0) {
                m_byID.reserve(static_cast<qsizetype>(m_rows.size()));
                for (size_t i = 0; i < m_rows.size(); ++i)
                    m_byID.insert(m_rows.ids[i], i);
            }
            const auto it = m_byID.constFind(ID);
            return it == m_byID.cend() ? TIntfPtr<IEwidarRecord>() : Item(static_cast<int32_t>(*it));
        });
    }

protected:
    void Load() {
        if (!m_stale)
            return;
        SqlAccess::Demand(*m_c, SqlAccess::rtView);
        m_rows = SqlCollections::ReadRows(*m_c, m_spec, m_filter, m_activity);
        m_byID.clear();
        m_stale = false;
    }

    TIntfPtr<IEwidarRecord> Item(int32_t Index) {
        Load();
        if (Index < 0 || static_cast<size_t>(Index) >= m_rows.size())
            Fail(SqlErrors::ecRecordDeleted);
        const size_t row = static_cast<size_t>(Index);
        const TFace face = m_rows.faces[row];
        auto s = std::make_shared<TRecordState>(m_c, m_spec.kind);
        s->id = m_rows.ids[row];
        s->owner = m_rows.owners[row];
        s->storage = TRecordState::stStored;
        s->face = face;
        if (face == TFace::fPracownik)
            s->personRole = SqlKinds::prPracownik;
        else if (face == TFace::fKontrahent)
            s->personRole = SqlKinds::prKontrahent;
        if (m_spec.scope == TScope::scPeopleOf)
            s->podatnik = m_spec.anchor;
        if (!m_rows.lent) {
            QStringList list;
            for (int i = 0; i < m_rows.lineCount; ++i)
                list.append(m_rows.Line(row, i));
            s->SetListLines(list);
        }
        return MakeRecord(s);
    }

    // A new record of the item kind, owned by the anchor of an owner list.
    TIntfPtr<IEwidarRecord> NewItem(SqlRecordStore::TRoles Roles = {}) {
        if (m_spec.readOnly)
            Fail(SqlErrors::ecReadOnly);
        const qint64 owner = m_spec.scope == TScope::scOwner ? m_spec.anchor : 0;
        auto s = SqlRecordStore::Create(m_c, m_spec.kind, owner, Roles);
        s->face = m_spec.face;
        return MakeRecord(s);
    }

    TSqlConnectionPtr m_c;
    TListSpec m_spec;
    QString m_filter;
    int m_activity = 0;
    bool m_stale = true;
    TRows m_rows;
    QHash<qint64, size_t> m_byID; // row of an identifier, built when first asked
    TNotifyEvent m_onChange;
    int32_t m_error = 0;
};

template <class I> class TSectionCollection final : public TCollectionBase<I> {
public:
    using TCollectionBase<I>::TCollectionBase;
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] { return this->Item(Index); });
    }
    TIntfPtr<IEwidarRecord> New() override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] { return this->NewItem(); });
    }
};

template <class I> class TListCollection : public TCollectionBase<I> {
public:
    using TCollectionBase<I>::TCollectionBase;
    TIntfPtr<IEwidarRecord> New() override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] {
            SqlRecordStore::TRoles roles;
            roles.podatnik = this->m_spec.scope == TScope::scRegistry && this->m_spec.role == rgPodatnicy;
            return this->NewItem(roles);
        });
    }
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] { return this->Item(Index); });
    }
};

class TNfzCollection final : public TListCollection<IDaneNFZow> {
public:
    using TListCollection<IDaneNFZow>::TListCollection;
    // Adds the sixteen voivodeship branches that the registry does not hold yet.
    bool FillDefaults() override {
        return GuardedBool(m_error, [&] { SqlNfzDefaults::Fill(m_c); });
    }
};

template <class I> class TPeopleCollection final : public TCollectionBase<I> {
public:
    using TCollectionBase<I>::TCollectionBase;
    static constexpr int kRole =
        std::is_same_v<I, IPracownicy> ? SqlKinds::prPracownik : SqlKinds::prKontrahent;

    void AddExisting(IEwidarRecord* Record) override {
        GuardedBool(this->m_error, [&] {
            if (this->m_spec.scope != TScope::scPeopleOf)
                Fail(SqlErrors::ecReadOnly);
            if (!Record || Record->GetID() == 0)
                Fail(SqlErrors::ecNoPrimaryKey);
            SqlRecordStore::LinkPerson(*this->m_c, this->m_spec.anchor, kRole, Record->GetID());
        });
    }
    TIntfPtr<IEwidarRecord> New() override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] {
            return NewPerson(this->m_spec.scope == TScope::scPeopleOf ? this->m_spec.anchor : 0);
        });
    }
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] { return this->Item(Index); });
    }
    void SetActivityFilter(int32_t Activity, const std::u16string& Text) override {
        this->SetFilter(Text);
        this->m_activity = Activity >= 0 && Activity <= 2 ? Activity : 0;
    }
    TIntfPtr<IEwidarRecord> NewForPodatnik(IEwidarRecord* Podatnik) override {
        return Guarded(this->m_error, TIntfPtr<IEwidarRecord>(), [&] {
            if (Podatnik && Podatnik->GetID() == 0)
                Fail(SqlErrors::ecNoPrimaryKey);
            return NewPerson(Podatnik ? Podatnik->GetID() : 0);
        });
    }

private:
    // A new subject placeholder in this registry, linked at once to the taxpayer when one is given.
    TIntfPtr<IEwidarRecord> NewPerson(qint64 Taxpayer) {
        TSqlConnection& c = *this->m_c;
        c.Require();
        SqlRecordStore::TRoles roles;
        roles.pracownik = kRole == SqlKinds::prPracownik;
        roles.kontrahent = kRole == SqlKinds::prKontrahent;
        TWriteScope scope(c);
        auto s = SqlRecordStore::Create(this->m_c, SqlKinds::kPodmiot, 0, roles);
        if (Taxpayer != 0)
            SqlRecordStore::LinkPerson(c, Taxpayer, kRole, s->id);
        scope.Commit();
        s->face = this->m_spec.face;
        s->personRole = kRole;
        s->podatnik = Taxpayer;
        return MakeRecord(s);
    }
};

class TPodmiotyCollection final : public TCollectionBase<IPodmioty> {
public:
    using TCollectionBase<IPodmioty>::TCollectionBase;
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        return Guarded(m_error, TIntfPtr<IEwidarRecord>(), [&] { return Item(Index); });
    }
};

} // namespace

template <class I>
TIntfPtr<I> Make(const TSqlConnectionPtr& C, const TListSpec& Spec, const QString& Filter) {
    if constexpr (std::is_same_v<I, IDaneNFZow>)
        return MakeIntf<I, TNfzCollection>(C, Spec, Filter);
    else if constexpr (std::is_same_v<I, IPodmioty>)
        return MakeIntf<I, TPodmiotyCollection>(C, Spec, Filter);
    else if constexpr (std::is_base_of_v<IEwidarSectionCollection, I>)
        return MakeIntf<I, TSectionCollection<I>>(C, Spec, Filter);
    else if constexpr (std::is_base_of_v<IEwidarPeopleCollection, I>)
        return MakeIntf<I, TPeopleCollection<I>>(C, Spec, Filter);
    else
        return MakeIntf<I, TListCollection<I>>(C, Spec, Filter);
}

#define EWIDAR_SQL_COLLECTION(I)                                                                             \
    template TIntfPtr<I> Make<I>(const TSqlConnectionPtr&, const TListSpec&, const QString&);
EWIDAR_SQL_COLLECTION(IObywatelstwa)
EWIDAR_SQL_COLLECTION(IDokumentyTozsamosci)
EWIDAR_SQL_COLLECTION(IAdresy)
EWIDAR_SQL_COLLECTION(IAdresyDzialalnosci)
EWIDAR_SQL_COLLECTION(IOddzialy)
EWIDAR_SQL_COLLECTION(IRodzajeDzialalnosci)
EWIDAR_SQL_COLLECTION(IPodatnicy)
EWIDAR_SQL_COLLECTION(IDaneZUSow)
EWIDAR_SQL_COLLECTION(IUrzedyStatystyczne)
EWIDAR_SQL_COLLECTION(ISadyRejonowe)
EWIDAR_SQL_COLLECTION(IDaneBankow)
EWIDAR_SQL_COLLECTION(INrIdentyfikacyjne)
EWIDAR_SQL_COLLECTION(IWspolnicy)
EWIDAR_SQL_COLLECTION(ISpolki)
EWIDAR_SQL_COLLECTION(ISpolkiPodmiotu)
EWIDAR_SQL_COLLECTION(IRachunkiBankowe)
EWIDAR_SQL_COLLECTION(IDaneZamawiajacych)
EWIDAR_SQL_COLLECTION(IReprezentanci)
EWIDAR_SQL_COLLECTION(IBiuraRachunkowe)
EWIDAR_SQL_COLLECTION(IDaneNFZow)
EWIDAR_SQL_COLLECTION(IPracownicy)
EWIDAR_SQL_COLLECTION(IKontrahenci)
EWIDAR_SQL_COLLECTION(IPodmioty)
#undef EWIDAR_SQL_COLLECTION

} // namespace SqlCollections
