#pragma once
// The state of one record object, shared by the record and the field objects
// handed out for it: identity, values by symbol (loaded on first use), single
// links, the per-taxpayer active flag and the description lines known from a list.

#include "uSqlConnection.h"
#include "uSqlKinds.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

struct TFieldValue {
    QString value;
    QString stored; // the value as last read or posted, for the history of a post
    QString caption;
    QString type;
    bool dirty = false;
};

class TRecordState {
public:
    enum TStorage { stNew, stPlaceholder, stStored, stDeleted };

    TRecordState(TSqlConnectionPtr Conn, int Kind) : conn(std::move(Conn)), kind(Kind) {}

    TSqlConnectionPtr conn;
    int kind;
    qint64 id = 0;
    qint64 owner = 0;
    TStorage storage = stNew;
    SqlKinds::TFace face = SqlKinds::TFace::fPodmiot;
    // The taxpayer through which a person was reached, and the role of that link.
    qint64 podatnik = 0;
    int personRole = 0;
    int32_t error = 0;

    // Field values in the order of the kind's symbols, then its user-defined symbols,
    // then further stored symbols.
    void EnsureFields();
    TFieldValue* Field(const QString& Symbol, bool Create);
    const QStringList& Symbols() {
        EnsureFields();
        return m_order;
    }
    QString Value(const QString& Symbol);
    bool FieldsDirty() const;
    // Symbols whose value, caption or kind changed since the last post.
    QStringList DirtySymbols() const;

    void EnsureLinks();
    qint64 Link(int Role);
    void SetLink(int Role, qint64 Target);
    const QSet<int>& DirtyLinks() const { return m_dirtyLinks; }
    // The target of a role as last read or posted.
    qint64 StoredLink(int Role) const { return m_storedLinks.value(Role, 0); }
    // A setter of the role was refused with Code; a later accepted setter of the role clears it.
    void RefuseLink(int Role, int32_t Code) { m_refusedLinks.insert(Role, Code); }
    // The code of a refused link setter, 0 when none is pending.
    int32_t RefusedLink() const { return m_refusedLinks.isEmpty() ? 0 : *m_refusedLinks.cbegin(); }

    void EnsureAktywny();
    bool Aktywny();
    void SetAktywny(bool Value);
    bool AktywnyDirty() const { return m_aktywnyDirty; }
    bool StoredAktywny() const { return m_storedAktywny; }

    // The row version of the stored record as it was when this object first read any of its
    // data (read then, before the data); a Post fails when the stored one differs.
    bool HasVersion() const { return m_version >= 0; }
    qint64 Version() const { return m_version; }
    void SetVersion(qint64 V) { m_version = V; }

    bool Dirty() const { return FieldsDirty() || !m_dirtyLinks.isEmpty() || m_aktywnyDirty; }
    void ClearDirty();
    // Forgets everything loaded, so that the next use reads the storage again.
    void Unload();

    void SetListLines(const QStringList& Lines) {
        m_listLines = Lines;
        m_hasListLines = true;
    }
    void ForgetListLines() { m_hasListLines = false; }
    bool HasListLines() const { return m_hasListLines; }
    const QStringList& ListLines() const { return m_listLines; }

private:
    void EnsureVersion();

    qint64 m_version = -1; // unknown until data is read
    QStringList m_order;
    QHash<QString, TFieldValue> m_fields;
    bool m_fieldsLoaded = false;
    QHash<int, qint64> m_links;
    QHash<int, qint64> m_storedLinks;
    QSet<int> m_dirtyLinks;
    QHash<int, int32_t> m_refusedLinks;
    bool m_linksLoaded = false;
    bool m_aktywny = true;
    bool m_storedAktywny = true;
    bool m_aktywnyLoaded = false;
    bool m_aktywnyDirty = false;
    QStringList m_listLines;
    bool m_hasListLines = false;
};

using TRecordStatePtr = std::shared_ptr<TRecordState>;
