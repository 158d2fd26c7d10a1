#include "uSqlDynamicFields.h"
#include "uSqlHistory.h"
#include "uSqlAccess.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlErrors.h"

#include <algorithm>
#include <memory>

namespace SqlDynamicFields {

namespace {

constexpr int kKindCount = 21;

bool FixedSymbol(int Kind, const QString& Symbol) {
    const TInternalFieldRecordList& fixed = FieldsOfKind(Kind);
    return std::any_of(fixed.begin(), fixed.end(), [&Symbol](const TInternalFieldRecord& f) {
        return f.Symbol.compare(Symbol, Qt::CaseInsensitive) == 0;
    });
}

bool SymbolTaken(TSqlConnection& C, const TDefinition& D) {
    if (FixedSymbol(D.kind, D.symbol))
        return true;
    return C.Scalar(
                QStringLiteral("SELECT count(*) FROM ew_field WHERE kind = ? AND symbol_key = ? AND id <> ?"),
                {D.kind, D.symbol.toCaseFolded(), D.id}, 0)
               .toInt() > 0;
}

bool Exists(TSqlConnection& C, qint64 ID) {
    return C.Scalar(QStringLiteral("SELECT count(*) FROM ew_field WHERE id = ?"), {ID}, 0).toInt() > 0;
}

void Validate(TDefinition& D) {
    D.symbol = D.symbol.trimmed();
    if (D.kind < 1 || D.kind > kKindCount || D.symbol.isEmpty() || D.description.trimmed().isEmpty() ||
        D.type.trimmed().isEmpty())
        Fail(SqlErrors::ecIncompleteDefinition);
}

qint64 Insert(TSqlConnection& C, const TDefinition& D) {
    return C.Insert(QStringLiteral("INSERT INTO ew_field (kind, symbol, symbol_key, description, field_type) "
                                   "VALUES (?, ?, ?, ?, ?)"),
                    {D.kind, D.symbol, D.symbol.toCaseFolded(), D.description, D.type});
}

// The symbol, description and kind name of a stored definition; empty ones for none.
QStringList StoredDefinition(TSqlConnection& C, qint64 ID) {
    const auto rows =
        C.Rows(QStringLiteral("SELECT symbol, description, field_type FROM ew_field WHERE id = ?"), {ID});
    if (rows.isEmpty())
        return {QString(), QString(), QString()};
    return {rows.front()[0].toString(), rows.front()[1].toString(), rows.front()[2].toString()};
}

// A definition added (Old empty), changed or deleted (New empty): each part that differs.
void NoteDefinition(TSqlConnection& C, int Kind, const QStringList& Old, const QStringList& New) {
    static const QStringList names = {QStringLiteral("SYMBOL"), QStringLiteral("OPIS"), QStringLiteral("RODZAJ")};
    static const QStringList captions = {QStringLiteral("Symbol pola"), QStringLiteral("Opis pola"),
                                         QStringLiteral("Rodzaj pola")};
    SqlHistory::TEntry e;
    e.event = THistoryEvent::heFieldDef;
    e.kind = Kind;
    e.description = New[0].isEmpty() ? Old[0] : New[0];
    for (int i = 0; i < names.size(); ++i)
        if (Old[i] != New[i])
            e.changes.append(SqlHistory::TChange{names[i], captions[i], Old[i], New[i]});
    if (!e.changes.isEmpty())
        SqlHistory::Append(C, e);
}

} // namespace

std::vector<TDefinition> Definitions(TSqlConnection& C, int Kind) {
    std::vector<TDefinition> out;
    const auto rows = C.Rows(
        QStringLiteral("SELECT id, symbol, description, field_type FROM ew_field WHERE kind = ? ORDER BY id"),
        {Kind});
    for (const QVariantList& r : rows)
        out.push_back(
            TDefinition{r[0].toLongLong(), Kind, r[1].toString(), r[2].toString(), r[3].toString()});
    return out;
}

QStringList DefinedSymbols(TSqlConnection& C, int Kind) {
    QStringList out;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT symbol FROM ew_field WHERE kind = ? ORDER BY id"), {Kind}))
        out.append(r[0].toString());
    return out;
}

void Store(TSqlConnection& C, TDefinition& D) {
    SqlAccess::Demand(C, SqlAccess::rtCreate);
    TDefinition d = D;
    Validate(d);
    TWriteScope scope(C);
    if (d.id != 0 && !Exists(C, d.id))
        Fail(SqlErrors::ecRecordDeleted);
    if (SymbolTaken(C, d))
        Fail(SqlErrors::ecDuplicateSymbol);
    NoteDefinition(C, d.kind, StoredDefinition(C, d.id), {d.symbol, d.description, d.type});
    if (d.id == 0)
        d.id = Insert(C, d);
    else
        C.Exec(
            QStringLiteral("UPDATE ew_field SET symbol = ?, symbol_key = ?, description = ?, field_type = ? "
                           "WHERE id = ?"),
            {d.symbol, d.symbol.toCaseFolded(), d.description, d.type, d.id});
    scope.Commit();
    D = d;
}

void Remove(TSqlConnection& C, qint64 ID) {
    SqlAccess::Demand(C, SqlAccess::rtCreate);
    if (ID == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    TWriteScope scope(C);
    if (!Exists(C, ID))
        Fail(SqlErrors::ecRecordDeleted);
    NoteDefinition(C, C.Scalar(QStringLiteral("SELECT kind FROM ew_field WHERE id = ?"), {ID}, 0).toInt(),
                   StoredDefinition(C, ID), {QString(), QString(), QString()});
    C.Exec(QStringLiteral("DELETE FROM ew_field WHERE id = ?"), {ID}, SqlErrors::ecDeleteFailed);
    scope.Commit();
}

bool StoreIfFree(TSqlConnection& C, TDefinition D) {
    D.id = 0;
    try {
        Validate(D);
    } catch (const TSqlFailure&) {
        return false; // nothing usable to copy
    }
    if (SymbolTaken(C, D))
        return false;
    Insert(C, D);
    return true;
}

} // namespace SqlDynamicFields

namespace {

using SqlDynamicFields::TDefinition;
using TDefinitionPtr = std::shared_ptr<TDefinition>;

// The definitions of one kind as a list object read them; definition objects
// handed out for its items share their data with it.
struct TDefinitionList {
    TSqlConnectionPtr c;
    int kind = 0;
    std::vector<TDefinitionPtr> items;
    bool loaded = false;

    void Load() {
        if (loaded)
            return;
        c->Require();
        for (TDefinition& d : SqlDynamicFields::Definitions(*c, kind))
            items.push_back(std::make_shared<TDefinition>(std::move(d)));
        loaded = true;
    }
    void Forget(const TDefinitionPtr& D) {
        items.erase(std::remove(items.begin(), items.end(), D), items.end());
    }
};
using TDefinitionListPtr = std::shared_ptr<TDefinitionList>;

QString Text(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

class TSqlDynamicField final : public TInterfacedObject<IDynamicField> {
public:
    TSqlDynamicField(TDefinitionListPtr L, TDefinitionPtr D) : m_l(std::move(L)), m_d(std::move(D)) {}

    int32_t GetLastErrorCode() override { return m_error; }
    void SetSymbol(const std::u16string& T) override { m_d->symbol = Text(T); }
    void SetDescription(const std::u16string& T) override { m_d->description = Text(T); }
    void SetFieldType(const std::u16string& T) override { m_d->type = Text(T); }
    std::u16string GetSymbol() override { return m_d->symbol.toStdU16String(); }
    std::u16string GetDescription() override { return m_d->description.toStdU16String(); }
    std::u16string GetFieldType() override { return m_d->type.toStdU16String(); }

    bool PostDefinition() override {
        return GuardedBool(m_error, [&] {
            const bool isNew = m_d->id == 0;
            SqlDynamicFields::Store(*m_l->c, *m_d);
            // A list not read yet finds the new definition in the table when it is.
            if (isNew && m_l->loaded)
                m_l->items.push_back(m_d);
        });
    }
    // A deleted definition may be posted again: it is stored as a new one.
    bool DeleteDefinition() override {
        return GuardedBool(m_error, [&] {
            SqlDynamicFields::Remove(*m_l->c, m_d->id);
            m_d->id = 0;
            m_l->Forget(m_d);
        });
    }

private:
    TDefinitionListPtr m_l;
    TDefinitionPtr m_d;
    int32_t m_error = 0;
};

class TSqlDynamicFields final : public TInterfacedObject<IDynamicFields> {
public:
    explicit TSqlDynamicFields(TDefinitionListPtr L) : m_l(std::move(L)) {}

    int32_t GetLastErrorCode() override { return m_error; }
    int32_t GetCount() override {
        return Guarded(m_error, int32_t(0), [&] {
            m_l->Load();
            return static_cast<int32_t>(m_l->items.size());
        });
    }
    TIntfPtr<IDynamicField> GetItem(int32_t Index) override {
        return Guarded(m_error, TIntfPtr<IDynamicField>(), [&] {
            m_l->Load();
            if (Index < 0 || static_cast<size_t>(Index) >= m_l->items.size())
                Fail(SqlErrors::ecRecordDeleted);
            return MakeIntf<IDynamicField, TSqlDynamicField>(m_l, m_l->items[Index]);
        });
    }
    TIntfPtr<IDynamicField> AddField() override {
        m_error = 0;
        auto d = std::make_shared<TDefinition>();
        d->kind = m_l->kind;
        return MakeIntf<IDynamicField, TSqlDynamicField>(m_l, d);
    }

private:
    TDefinitionListPtr m_l;
    int32_t m_error = 0;
};

class TSqlDynamicFieldsProvider final : public TInterfacedObject<IEwidarDynamicFieldsProvider> {
public:
    explicit TSqlDynamicFieldsProvider(TSqlConnectionPtr C) : m_c(std::move(C)) {}

    // Empty for a position outside 1-21.
    TIntfPtr<IDynamicFields> GetDynamicFields(int32_t Position) override {
        try {
            if (Position < 1 || Position > 21)
                return {};
            auto list = std::make_shared<TDefinitionList>();
            list->c = m_c;
            list->kind = Position;
            return MakeIntf<IDynamicFields, TSqlDynamicFields>(list);
        } catch (...) {
            return {};
        }
    }

private:
    TSqlConnectionPtr m_c;
};

} // namespace

TIntfPtr<IEwidarDynamicFieldsProvider> MakeDynamicFieldsProvider(const TSqlConnectionPtr& C) {
    return MakeIntf<IEwidarDynamicFieldsProvider, TSqlDynamicFieldsProvider>(C);
}
