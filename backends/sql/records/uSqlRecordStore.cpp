#include "uSqlRecordStore.h"
#include "uSqlAccess.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlDescribe.h"
#include "uSqlDuplicates.h"
#include "uSqlErrors.h"
#include "uSqlRecordHistory.h"
#include "uSqlSession.h"

namespace SqlRecordStore {

namespace {

using namespace SqlKinds;

QVariant Nullable(qint64 ID) {
    return ID == 0 ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(ID);
}

// kind and state of a record; kind 0 when it does not exist.
std::pair<int, int> KindAndState(TSqlConnection& C, qint64 ID) {
    const auto rows = C.Rows(QStringLiteral("SELECT kind, state FROM ew_record WHERE id = ?"), {ID});
    if (rows.isEmpty())
        return {0, 0};
    return {rows.front()[0].toInt(), rows.front()[1].toInt()};
}

// A value of another record as a column: Symbol of a link target (bound to the target and
// the symbol), and Symbol of the first stored section of a kind that has one (by identifier;
// bound to the owner, the kind and the symbol).
const QString kLinkedValue =
    QStringLiteral("(SELECT value FROM ew_value WHERE record_id = ? AND symbol = ?)");
const QString kFirstSection = QStringLiteral(
    "(SELECT v.value FROM ew_record r JOIN ew_value v ON v.record_id = r.id WHERE r.owner_id = ? "
    "AND r.kind = ? AND r.state = 0 AND v.symbol = ? AND v.value <> '' ORDER BY r.id LIMIT 1)");

QString LinkedValue(TSqlConnection& C, qint64 Target, const QString& Symbol) {
    if (Target == 0)
        return {};
    static const QString sql = QStringLiteral("SELECT ") + kLinkedValue;
    return C.Scalar(sql, {Target, Symbol}).toString();
}

// What the lines of a record ask of other records: a link target's value (by role) or a
// first section's (by kind).
struct TAsk {
    bool section;
    int roleOrKind;
    QString symbol;
    bool operator==(const TAsk&) const = default;
};

size_t qHash(const TAsk& A, size_t Seed = 0) {
    return qHashMulti(Seed, A.section, A.roleOrKind, A.symbol);
}

// The asks of the lines of a kind, made with every answer empty, which takes every fallback
// (a subject's business address when it has no address, a representative's own name when no
// person is linked): what the lines ask when answered is among them.
const QList<TAsk>& AsksOfLines(int Kind) {
    static const QHash<int, QList<TAsk>> all = [] {
        QHash<int, QList<TAsk>> out;
        for (int kind = kObywatelstwo; kind <= kPodmiot; ++kind) {
            QList<TAsk>& asks = out[kind];
            const auto ask = [&asks](const TAsk& A) {
                if (!asks.contains(A))
                    asks.append(A);
                return QString();
            };
            SqlDescribe::TSource s;
            s.own = [](const QString&) {
                return QString();
            };
            s.linked = [&ask](int role, const QString& symbol) {
                return ask(TAsk{false, role, symbol});
            };
            s.firstSection = [&ask](int section, const QString& symbol) {
                return ask(TAsk{true, section, symbol});
            };
            SqlDescribe::Lines(kind, s);
        }
        return out;
    }();
    static const QList<TAsk> none;
    const auto it = all.find(Kind);
    return it == all.end() ? none : *it;
}

// Whether the lines of other records show any of these symbols of a record through a link role.
bool ShownThrough(int Role, const QStringList& Symbols) {
    static const QHash<int, QSet<QString>> shown = [] {
        QHash<int, QSet<QString>> out;
        for (int kind = kObywatelstwo; kind <= kPodmiot; ++kind)
            for (const TAsk& a : AsksOfLines(kind))
                if (!a.section)
                    out[a.roleOrKind].insert(a.symbol);
        return out;
    }();
    const QSet<QString> symbols = shown.value(Role);
    for (const QString& s : Symbols)
        if (symbols.contains(s))
            return true;
    return false;
}

void WriteLinks(TSqlConnection& C, TRecordState& R, qint64 ID) {
    for (int role : R.DirtyLinks()) {
        const qint64 target = R.Link(role);
        C.Exec(QStringLiteral("DELETE FROM ew_link WHERE source_id = ? AND role = ?"), {ID, role});
        if (target == 0)
            continue;
        if (KindAndState(C, target).first != TargetKind(role))
            Fail(SqlErrors::ecRecordDeleted);
        C.Exec(QStringLiteral("INSERT INTO ew_link (source_id, role, target_id) VALUES (?, ?, ?)"),
               {ID, role, target});
    }
}

void WriteAktywny(TSqlConnection& C, TRecordState& R, qint64 ID) {
    if (!R.AktywnyDirty() || R.podatnik == 0)
        return;
    C.Exec(QStringLiteral(
               "UPDATE ew_person SET aktywny = ? WHERE podatnik_id = ? AND role = ? AND osoba_id = ?"),
           {R.Aktywny() ? 1 : 0, R.podatnik, R.personRole, ID});
}

QStringList StoredLines(TSqlConnection& C, qint64 ID, int Kind) {
    QHash<QString, QString> own;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT symbol, value FROM ew_value WHERE record_id = ?"), {ID}))
        own.insert(r[0].toString(), r[1].toString());
    SqlDescribe::TSource s;
    s.own = [&own](const QString& symbol) {
        return own.value(symbol);
    };
    s.linked = [&C, ID](int role, const QString& symbol) {
        const qint64 target =
            C.Scalar(QStringLiteral("SELECT target_id FROM ew_link WHERE source_id = ? AND role = ?"),
                     {ID, role}, 0)
                .toLongLong();
        return LinkedValue(C, target, symbol);
    };
    s.firstSection = [&C, ID](int kind, const QString& symbol) {
        return FirstSection(C, ID, kind, symbol);
    };
    return SqlDescribe::Lines(Kind, s);
}

// The stored columns of lines: the three lines, the search text and the sort key.
QVariantList LineColumns(const QStringList& Lines) {
    const QString search = SqlDescribe::SearchText(Lines);
    return {Lines.value(0), Lines.value(1), Lines.value(2), search, SqlDescribe::SortKey(search)};
}

// The lines, and for a subject the name key of the duplicate search, which follows its name
// line and its first address.
void WriteLines(TSqlConnection& C, qint64 ID, int Kind, const QStringList& Lines) {
    C.Exec(QStringLiteral(
               "UPDATE ew_record SET line1 = ?, line2 = ?, line3 = ?, search = ?, sort_key = ? WHERE id = ?"),
           LineColumns(Lines) << ID);
    if (Kind == kPodmiot)
        SqlDuplicates::WriteNameKey(C, ID, Lines.value(0));
}

// The lines of a record as it stands in memory. Values of other records come from Known
// when it holds them (read earlier in the same write), otherwise from the database.
SqlDescribe::TSource MemorySource(TSqlConnection& C, TRecordState& R, const QHash<TAsk, QString>* Known) {
    SqlDescribe::TSource s;
    s.own = [&R](const QString& symbol) {
        return R.Value(symbol);
    };
    s.linked = [&R, &C, Known](int role, const QString& symbol) {
        if (Known)
            if (const auto it = Known->find(TAsk{false, role, symbol}); it != Known->end())
                return *it;
        return LinkedValue(C, R.Link(role), symbol);
    };
    s.firstSection = [&R, &C, Known](int kind, const QString& symbol) {
        if (Known)
            if (const auto it = Known->find(TAsk{true, kind, symbol}); it != Known->end())
                return *it;
        return FirstSection(C, R.id, kind, symbol);
    };
    return s;
}

// What a post checks and reads before it writes, in one statement: the access gate, this
// session's row, the record's version (or, for a new one, its owner's kind), the holder of
// its lock, its stored name key, and the values of other records its lines show (link
// targets, first sections), which the post does not change.
struct TPostRead {
    QVariant operators, rights, session, version, ownerKind, holder, nameKey;
    QHash<TAsk, QString> known;
    QString postalCode; // of the first address, for a subject's name key
};

TPostRead ReadForPost(TSqlConnection& C, TRecordState& R) {
    const qint64 id = R.id;
    QString sql = QStringLiteral("SELECT ") + SqlAccess::Columns() + QStringLiteral(", ") +
                  TSqlConnection::SessionColumn() +
                  QStringLiteral(", (SELECT version FROM ew_record WHERE id = ?), "
                                 "(SELECT kind FROM ew_record WHERE id = ?), ") +
                  SqlSession::LockHolderColumn() +
                  QStringLiteral(", (SELECT digits FROM ew_ident WHERE record_id = ? AND symbol = ?)");
    QVariantList binds = {C.Operator(), C.SessionID(), id, R.owner, id, id, SqlDuplicates::kNameSymbol};
    constexpr int kFixed = 7;
    QList<TAsk> asks = AsksOfLines(R.kind);
    const TAsk postal{true, kAdres, cDaneAdresoweKodPocztowy.Symbol};
    if (R.kind == kPodmiot && !asks.contains(postal))
        asks.append(postal);
    for (const TAsk& a : asks) {
        sql += QStringLiteral(", ");
        if (a.section) {
            sql += kFirstSection;
            binds << id << a.roleOrKind << a.symbol;
        } else {
            sql += kLinkedValue;
            // A link to the record itself would read a value before this post writes it.
            const qint64 target = R.Link(a.roleOrKind);
            binds << (target == id ? 0 : target) << a.symbol;
        }
    }
    const auto rows = C.Rows(sql, binds);
    TPostRead out;
    if (rows.isEmpty())
        return out;
    const QVariantList& r = rows.front();
    out.operators = r[0];
    out.rights = r[1];
    out.session = r[2];
    out.version = r[3];
    out.ownerKind = r[4];
    out.holder = r[5];
    out.nameKey = r[6];
    for (int i = 0; i < asks.size(); ++i) {
        const TAsk& a = asks[i];
        if (!a.section && R.Link(a.roleOrKind) == id)
            continue;
        out.known.insert(a, r[kFixed + i].toString());
    }
    out.postalCode = out.known.value(postal);
    return out;
}

// Records whose lines show values of a record of this kind: through a link role.
int DependentRole(int Kind) {
    if (Kind == kDaneBanku)
        return lrDaneBanku;
    if (Kind == kSpolka)
        return lrSpolka;
    if (Kind == kPodmiot)
        return lrPodmiot; // the representatives naming the subject as their person
    return 0;
}

void CheckReferences(TSqlConnection& C, qint64 ID, int Kind) {
    const int links =
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_link WHERE target_id = ? AND role <> ?"),
                 {ID, int(lrRodzajPrzewazajacejDzialalnosci)}, 0)
            .toInt();
    if (links > 0)
        Fail(SqlErrors::ecReferenced);
    if (Kind == kPodmiot &&
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_person WHERE podatnik_id = ? OR osoba_id = ?"),
                 {ID, ID}, 0)
                .toInt() > 0)
        Fail(SqlErrors::ecReferenced);
}

} // namespace

const QStringList& IdentifierSymbols() {
    static const QStringList symbols = {cDanePodmiotuPESEL.Symbol, cDanePodmiotuNIP.Symbol,
                                        cDanePodmiotuNIPOF.Symbol, cDanePodmiotuREGON.Symbol};
    return symbols;
}

void WriteIdentifier(TSqlConnection& C, qint64 ID, const QString& Symbol, const QString& Value, bool Fresh) {
    if (!Fresh)
        C.Exec(QStringLiteral("DELETE FROM ew_ident WHERE record_id = ? AND symbol = ?"), {ID, Symbol});
    const QString digits = SqlDescribe::Digits(Value);
    if (!digits.isEmpty())
        C.Exec(QStringLiteral("INSERT INTO ew_ident (record_id, symbol, digits) VALUES (?, ?, ?)"),
               {ID, Symbol, digits});
}

// A caption or kind equal to the symbol table's is kept empty and read back from
// the table, which keeps the file small.
bool StoredColumns(const QString& Symbol, const TFieldValue& F, QString& Caption, QString& Type) {
    const TInternalFieldRecord* d = FindField(Symbol);
    Caption = d && F.caption == d->Description ? QString() : F.caption;
    Type = d && F.type == FieldTypeToText(d->FieldType) ? QString() : F.type;
    return !F.value.isEmpty() || !Caption.isEmpty() || !Type.isEmpty();
}

void WriteField(TSqlConnection& C, qint64 ID, const QString& Symbol, const TFieldValue& F, bool Fresh) {
    if (IdentifierSymbols().contains(Symbol))
        WriteIdentifier(C, ID, Symbol, F.value, Fresh);
    QString caption, type;
    if (!StoredColumns(Symbol, F, caption, type)) {
        if (!Fresh)
            C.Exec(QStringLiteral("DELETE FROM ew_value WHERE record_id = ? AND symbol = ?"), {ID, Symbol});
    } else
        C.Exec(C.Dialect().UpsertValue(), {ID, Symbol, F.value, caption, type});
}

void WriteStoredLines(TSqlConnection& C, qint64 ID, int Kind) {
    WriteLines(C, ID, Kind, StoredLines(C, ID, Kind));
}

TRecordStatePtr Create(const TSqlConnectionPtr& C, int Kind, qint64 Owner, TRoles Roles) {
    SqlAccess::Demand(*C, SqlAccess::rtCreate);
    auto r = std::make_shared<TRecordState>(C, Kind);
    r->owner = Owner;
    if (!OwnsCollections(Kind))
        return r;
    C->Require();
    TWriteScope scope(*C);
    r->id = C->Insert(QStringLiteral("INSERT INTO ew_record (kind, owner_id, state, session_id, is_podatnik, "
                                     "is_pracownik, is_kontrahent) VALUES (?, ?, 1, ?, ?, ?, ?)"),
                      {Kind, Nullable(Owner), C->SessionID(), int(Roles.podatnik), int(Roles.pracownik),
                       int(Roles.kontrahent)});
    scope.Commit(); // lists never show placeholders: nothing to announce
    r->storage = TRecordState::stPlaceholder;
    r->SetVersion(0);
    return r;
}

TRecordStatePtr Load(const TSqlConnectionPtr& C, qint64 ID, int Kind) {
    if (ID == 0)
        return nullptr;
    const auto rows = C->Rows(QStringLiteral("SELECT kind, owner_id, state, is_podatnik, is_pracownik, "
                                             "is_kontrahent FROM ew_record WHERE id = ?"),
                              {ID});
    if (rows.isEmpty() || (Kind != 0 && rows.front()[0].toInt() != Kind))
        return nullptr;
    const QVariantList& row = rows.front();
    auto r = std::make_shared<TRecordState>(C, row[0].toInt());
    r->id = ID;
    r->owner = row[1].toLongLong();
    r->storage = row[2].toInt() == 1 ? TRecordState::stPlaceholder : TRecordState::stStored;
    if (row[3].toInt())
        r->face = TFace::fPodatnik;
    else if (row[4].toInt())
        r->face = TFace::fPracownik;
    else if (row[5].toInt())
        r->face = TFace::fKontrahent;
    return r;
}

void Post(TRecordState& R) {
    R.conn->Require();
    TSqlConnection& c = *R.conn;
    if (R.storage == TRecordState::stDeleted)
        Fail(SqlErrors::ecRecordDeleted);
    if (const int32_t refused = R.RefusedLink())
        Fail(refused);
    // A record stored for the first time (a placeholder included) is a new one.
    const bool fresh = R.id == 0 || R.storage == TRecordState::stPlaceholder;
    const int32_t right = fresh ? SqlAccess::rtCreate : SqlAccess::rtModify;
    if (c.SessionLost()) // the rights are judged before the session, as below
        SqlAccess::Demand(c, right);
    TWriteScope scope(c, TWriteScope::TSessionReadByCaller{});
    // Everything is checked before anything is written, in this order: the rights, this
    // session, the record (or its owner), another session's lock, the row version.
    const TPostRead read = ReadForPost(c, R);
    SqlAccess::Judge(c, right, read.operators, read.rights);
    scope.SessionRead(read.session);
    qint64 id = R.id;
    qint64 version = 0;
    if (id == 0) {
        if (R.owner != 0 && read.ownerKind.isNull())
            Fail(SqlErrors::ecRecordDeleted);
        id = c.Insert(QStringLiteral("INSERT INTO ew_record (kind, owner_id, state) VALUES (?, ?, 0)"),
                      {R.kind, Nullable(R.owner)});
    } else {
        if (read.version.isNull())
            Fail(SqlErrors::ecRecordDeleted);
        SqlSession::CheckHolder(c, read.holder.toLongLong());
        // Posted by another session since this one read it: never overwritten silently.
        version = read.version.toLongLong();
        if (R.HasVersion() && R.Version() != version)
            Fail(SqlErrors::ecRecordChanged);
        ++version;
    }
    const QStringList changed = R.DirtySymbols();
    for (const QString& symbol : changed)
        WriteField(c, id, symbol, *R.Field(symbol, false));
    WriteLinks(c, R, id);
    WriteAktywny(c, R, id);
    // The lines from the values in memory, which are the stored ones now (the version
    // proves that nobody else changed them since they were read).
    const QStringList lines = SqlDescribe::Lines(R.kind, MemorySource(c, R, &read.known));
    c.Exec(QStringLiteral(
               "UPDATE ew_record SET state = 0, session_id = NULL, version = ?, line1 = ?, line2 = ?, "
               "line3 = ?, search = ?, sort_key = ? WHERE id = ?"),
           QVariantList{version} << LineColumns(lines) << id);
    if (R.kind == kPodmiot)
        SqlDuplicates::StoreNameKey(c, id, SqlDuplicates::NameKey(lines.value(0), read.postalCode),
                                    read.nameKey);
    scope.Changed(R.kind);
    scope.Changed(RefreshDependents(c, id, R.kind, R.owner, &changed));
    SqlRecordHistory::NotePost(c, R, id, fresh);
    scope.Commit();
    R.id = id;
    R.storage = TRecordState::stStored;
    R.SetVersion(version);
    R.ClearDirty();
    R.ForgetListLines();
}

void Delete(TRecordState& R) {
    R.conn->Require();
    TSqlConnection& c = *R.conn;
    if (R.id == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    SqlAccess::Demand(c, SqlAccess::rtCreate);
    TWriteScope scope(c);
    const auto [kind, state] = KindAndState(c, R.id);
    if (kind == 0 || R.storage == TRecordState::stDeleted)
        Fail(SqlErrors::ecRecordDeleted);
    SqlSession::CheckNotLockedByOther(c, R.id);
    if (state == 0 && R.podatnik != 0) {
        // Reached through a taxpayer's list: only the link to that taxpayer goes.
        c.Exec(QStringLiteral("DELETE FROM ew_person WHERE podatnik_id = ? AND role = ? AND osoba_id = ?"),
               {R.podatnik, R.personRole, R.id});
        SqlRecordHistory::NotePersonLink(c, R.podatnik, R.personRole, R.id, false);
        scope.Changed(kPodmiot);
        scope.Commit();
        R.podatnik = 0;
        return;
    }
    if (state == 0) {
        CheckReferences(c, R.id, kind);
        SqlRecordHistory::NoteDelete(c, R.id, kind, R.owner);
    }
    if (kind == kRodzajDzialalnosci)
        c.Exec(QStringLiteral("DELETE FROM ew_link WHERE target_id = ? AND role = ?"),
               {R.id, int(lrRodzajPrzewazajacejDzialalnosci)});
    c.Exec(QStringLiteral("DELETE FROM ew_record WHERE id = ?"), {R.id}, SqlErrors::ecDeleteFailed);
    scope.Changed(kind);
    if (R.owner != 0 && state == 0)
        scope.Changed(RefreshStoredLines(c, R.owner));
    scope.Commit();
    R.storage = TRecordState::stDeleted;
}

void Refresh(TRecordState& R) {
    SqlAccess::Demand(*R.conn, SqlAccess::rtView);
    if (R.id == 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    const auto [kind, state] = KindAndState(*R.conn, R.id);
    if (kind == 0) {
        R.storage = TRecordState::stDeleted;
        Fail(SqlErrors::ecRecordDeleted);
    }
    R.Unload(); // the version too: read again with the values
    R.storage = state == 1 ? TRecordState::stPlaceholder : TRecordState::stStored;
}

QStringList CurrentLines(TRecordState& R) {
    if (!R.Dirty() && R.HasListLines())
        return R.ListLines();
    if (!R.Dirty() && R.id != 0 && R.storage != TRecordState::stDeleted) {
        R.SetListLines(StoredLines(*R.conn, R.id, R.kind));
        return R.ListLines();
    }
    return SqlDescribe::Lines(R.kind, MemorySource(*R.conn, R, nullptr));
}

QSet<int> RefreshStoredLines(TSqlConnection& C, qint64 ID) {
    const auto rows = C.Rows(QStringLiteral("SELECT kind, owner_id FROM ew_record WHERE id = ?"), {ID});
    if (rows.isEmpty())
        return {};
    const int kind = rows.front()[0].toInt();
    const qint64 owner = rows.front()[1].toLongLong();
    WriteLines(C, ID, kind, StoredLines(C, ID, kind));
    QSet<int> kinds{kind};
    kinds.unite(RefreshDependents(C, ID, kind, owner, nullptr));
    return kinds;
}

QSet<int> RefreshDependents(TSqlConnection& C, qint64 ID, int Kind, qint64 Owner,
                            const QStringList* Changed) {
    QSet<int> kinds;
    if ((Kind == kAdres || Kind == kAdresDzialalnosci) && Owner != 0)
        kinds.unite(RefreshStoredLines(C, Owner));
    const int role = DependentRole(Kind);
    if (role == 0 || (Changed && !ShownThrough(role, *Changed)))
        return kinds;
    const auto sources =
        C.Rows(QStringLiteral("SELECT source_id FROM ew_link WHERE target_id = ? AND role = ?"), {ID, role});
    for (const QVariantList& s : sources)
        kinds.unite(RefreshStoredLines(C, s[0].toLongLong()));
    return kinds;
}

QString FirstSection(TSqlConnection& C, qint64 Owner, int Kind, const QString& Symbol) {
    if (Owner == 0)
        return {};
    static const QString sql = QStringLiteral("SELECT ") + kFirstSection;
    return C.Scalar(sql, {Owner, Kind, Symbol}).toString();
}

void LinkPerson(TSqlConnection& C, qint64 Podatnik, int Role, qint64 Osoba) {
    SqlAccess::Demand(C, SqlAccess::rtModify);
    TWriteScope scope(C);
    if (KindAndState(C, Podatnik).first != kPodmiot || KindAndState(C, Osoba).first != kPodmiot)
        Fail(SqlErrors::ecRecordDeleted);
    const int exists =
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_person WHERE podatnik_id = ? AND role = ? "
                                "AND osoba_id = ?"),
                 {Podatnik, Role, Osoba}, 0)
            .toInt();
    if (exists == 0) {
        C.Exec(QStringLiteral(
                   "INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) VALUES (?, ?, ?, 1)"),
               {Podatnik, Role, Osoba});
        SqlRecordHistory::NotePersonLink(C, Podatnik, Role, Osoba, true);
    }
    C.Exec(Role == prPracownik ? QStringLiteral("UPDATE ew_record SET is_pracownik = 1 WHERE id = ?")
                               : QStringLiteral("UPDATE ew_record SET is_kontrahent = 1 WHERE id = ?"),
           {Osoba});
    scope.Changed(kPodmiot);
    scope.Commit();
}

} // namespace SqlRecordStore
