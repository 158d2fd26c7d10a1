#include "uSqlRecordState.h"
#include "uSqlAccess.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlDynamicFields.h"

void TRecordState::EnsureVersion() {
    if (m_version >= 0 || id == 0)
        return;
    // Every read of a stored record's values, links or flags starts here.
    SqlAccess::Demand(*conn, SqlAccess::rtView);
    m_version =
        conn->Scalar(QStringLiteral("SELECT version FROM ew_record WHERE id = ?"), {id}, 0).toLongLong();
}

void TRecordState::EnsureFields() {
    if (m_fieldsLoaded)
        return;
    EnsureVersion();
    m_order.clear();
    m_fields.clear();
    for (const TInternalFieldRecord& f : FieldsOfKind(kind)) {
        m_order.append(f.Symbol);
        m_fields.insert(f.Symbol, TFieldValue{});
    }
    // Then the user-defined fields of the kind. Without a connection nothing can be
    // stored, so a record of a closed connection shows only its fixed fields.
    if (conn->IsOpen())
        for (const QString& symbol : SqlDynamicFields::DefinedSymbols(*conn, kind))
            if (!m_fields.contains(symbol)) {
                m_order.append(symbol);
                m_fields.insert(symbol, TFieldValue{});
            }
    if (id != 0) {
        const auto rows = conn->Rows(QStringLiteral("SELECT symbol, value, caption, field_type FROM ew_value "
                                                    "WHERE record_id = ? ORDER BY symbol"),
                                     {id});
        for (const QVariantList& r : rows) {
            const QString symbol = r[0].toString();
            if (!m_fields.contains(symbol))
                m_order.append(symbol);
            m_fields.insert(symbol,
                            TFieldValue{r[1].toString(), r[1].toString(), r[2].toString(), r[3].toString(), false});
        }
    }
    m_fieldsLoaded = true;
}

TFieldValue* TRecordState::Field(const QString& Symbol, bool Create) {
    EnsureFields();
    auto it = m_fields.find(Symbol);
    if (it != m_fields.end())
        return &*it;
    if (!Create || Symbol.isEmpty())
        return nullptr;
    // A user-defined symbol: its value is stored like any other once it is set.
    m_order.append(Symbol);
    return &*m_fields.insert(Symbol, TFieldValue{});
}

QString TRecordState::Value(const QString& Symbol) {
    const TFieldValue* f = Field(Symbol, false);
    return f ? f->value : QString();
}

bool TRecordState::FieldsDirty() const {
    for (const TFieldValue& f : m_fields)
        if (f.dirty)
            return true;
    return false;
}

QStringList TRecordState::DirtySymbols() const {
    QStringList out;
    for (const QString& symbol : m_order)
        if (m_fields.value(symbol).dirty)
            out.append(symbol);
    return out;
}

void TRecordState::EnsureLinks() {
    if (m_linksLoaded)
        return;
    EnsureVersion();
    if (id != 0) {
        for (const QVariantList& r :
             conn->Rows(QStringLiteral("SELECT role, target_id FROM ew_link WHERE source_id = ?"), {id}))
        {
            m_storedLinks.insert(r[0].toInt(), r[1].toLongLong());
            if (!m_dirtyLinks.contains(r[0].toInt()))
                m_links.insert(r[0].toInt(), r[1].toLongLong());
        }
    }
    m_linksLoaded = true;
}

qint64 TRecordState::Link(int Role) {
    EnsureLinks();
    return m_links.value(Role, 0);
}

void TRecordState::SetLink(int Role, qint64 Target) {
    EnsureLinks();
    m_refusedLinks.remove(Role);
    if (m_links.value(Role, 0) == Target)
        return;
    if (Target == 0)
        m_links.remove(Role);
    else
        m_links.insert(Role, Target);
    m_dirtyLinks.insert(Role);
}

void TRecordState::EnsureAktywny() {
    if (m_aktywnyLoaded)
        return;
    EnsureVersion();
    if (id != 0 && podatnik != 0)
        m_aktywny =
            conn->Scalar(QStringLiteral("SELECT aktywny FROM ew_person WHERE podatnik_id = ? AND role = ? "
                                        "AND osoba_id = ?"),
                         {podatnik, personRole, id}, 1)
                .toInt() != 0;
    else if (id != 0 && personRole != 0)
        m_aktywny =
            conn->Scalar(QStringLiteral("SELECT count(*) FROM ew_person WHERE osoba_id = ? AND role = ? "
                                        "AND aktywny = 1"),
                         {id, personRole}, 0)
                .toInt() > 0;
    m_storedAktywny = m_aktywny;
    m_aktywnyLoaded = true;
}

bool TRecordState::Aktywny() {
    EnsureAktywny();
    return m_aktywny;
}

void TRecordState::SetAktywny(bool Value) {
    EnsureAktywny();
    if (m_aktywny == Value)
        return;
    m_aktywny = Value;
    m_aktywnyDirty = true;
}

void TRecordState::ClearDirty() {
    for (TFieldValue& f : m_fields) {
        f.dirty = false;
        f.stored = f.value;
    }
    m_dirtyLinks.clear();
    m_storedLinks = m_links;
    m_aktywnyDirty = false;
    m_storedAktywny = m_aktywny;
}

void TRecordState::Unload() {
    m_version = -1;
    m_order.clear();
    m_fields.clear();
    m_fieldsLoaded = false;
    m_links.clear();
    m_storedLinks.clear();
    m_dirtyLinks.clear();
    m_refusedLinks.clear();
    m_linksLoaded = false;
    m_aktywnyLoaded = false;
    m_aktywnyDirty = false;
    m_hasListLines = false;
}
