#include "uSqlSchema.h"

#include "uSqlConnection.h"
#include "uSqlDescribe.h"
#include "uSqlDuplicates.h"
#include "uSqlErrors.h"
#include "uSqlKinds.h"
#include "uSqlRecordStore.h"
#include "uVersion.h"

#include <QStringList>
#include <QUuid>

#include <functional>
#include <vector>

namespace SqlSchema {

namespace {

// Foreign keys are table constraints with names of their own: some servers parse a
// REFERENCES clause on a column but enforce nothing, and a named constraint can be
// found and altered by a later version on every engine.

// Version 1: records of every kind with their description lines and normalised
// search text, field values by symbol, single links, people of a taxpayer,
// sessions and record locks.
const QStringList& Version1() {
    static const QStringList ddl = {
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_meta (name {KEYTEXT} NOT NULL PRIMARY KEY, value {TEXT} NOT NULL)"),
        // First, so that a server schema left part way is known as this program's; the
        // row is also the one that a server's writers lock in turn.
        QStringLiteral("REPLACE INTO ew_meta (name, value) VALUES ('application', 'Ewidar')"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_session (id {ID}, host {TEXT} NOT NULL, boot_id {TEXT} NOT NULL, "
            "pid INTEGER NOT NULL, start_ticks {TEXT} NOT NULL, heartbeat INTEGER NOT NULL, "
            "opened_at INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE {IFNEW} ew_record (id {ID}, kind INTEGER NOT NULL, owner_id INTEGER, "
                       "state INTEGER NOT NULL DEFAULT 0, session_id INTEGER, "
                       "is_podatnik INTEGER NOT NULL DEFAULT 0, is_pracownik INTEGER NOT NULL DEFAULT 0, "
                       "is_kontrahent INTEGER NOT NULL DEFAULT 0, "
                       "line1 {TEXT} NOT NULL DEFAULT '', line2 {TEXT} NOT NULL DEFAULT '', "
                       "line3 {TEXT} NOT NULL DEFAULT '', search {LONGTEXT} NOT NULL DEFAULT '', "
                       "CONSTRAINT ew_record_owner_fk FOREIGN KEY (owner_id) REFERENCES ew_record (id) "
                       "ON DELETE CASCADE)"),
        // Covers the list queries: a registry, filtered or not, is read from the index alone.
        QStringLiteral(
            "CREATE INDEX {IFNEW} ew_record_list ON ew_record (kind, state, {PREFIX:search}, id, owner_id, "
            "is_podatnik, is_pracownik, is_kontrahent{COVER:, line1, line2, line3})"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_record_owner ON ew_record (owner_id, kind)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_record_placeholder ON ew_record (state, session_id)"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_value (record_id INTEGER NOT NULL, symbol {KEYTEXT} NOT NULL, "
            "value {TEXT} NOT NULL DEFAULT '', caption {TEXT} NOT NULL DEFAULT '', "
            "field_type {TEXT} NOT NULL DEFAULT '', PRIMARY KEY (record_id, symbol), "
            "CONSTRAINT ew_value_record_fk FOREIGN KEY (record_id) REFERENCES ew_record (id) "
            "ON DELETE CASCADE) {NOROWID}"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_value_symbol ON ew_value (symbol, {PREFIX:value})"),
        // A record still named by another's link cannot be deleted.
        QStringLiteral("CREATE TABLE {IFNEW} ew_link (source_id INTEGER NOT NULL, role INTEGER NOT NULL, "
                       "target_id INTEGER NOT NULL, PRIMARY KEY (source_id, role), "
                       "CONSTRAINT ew_link_source_fk FOREIGN KEY (source_id) REFERENCES ew_record (id) "
                       "ON DELETE CASCADE, "
                       "CONSTRAINT ew_link_target_fk FOREIGN KEY (target_id) REFERENCES ew_record (id)) "
                       "{NOROWID}"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_link_target ON ew_link (target_id, role)"),
        QStringLiteral("CREATE TABLE {IFNEW} ew_person (podatnik_id INTEGER NOT NULL, role INTEGER NOT NULL, "
                       "osoba_id INTEGER NOT NULL, aktywny INTEGER NOT NULL DEFAULT 1, "
                       "PRIMARY KEY (podatnik_id, role, osoba_id), "
                       "CONSTRAINT ew_person_podatnik_fk FOREIGN KEY (podatnik_id) REFERENCES ew_record (id) "
                       "ON DELETE CASCADE, "
                       "CONSTRAINT ew_person_osoba_fk FOREIGN KEY (osoba_id) REFERENCES ew_record (id) "
                       "ON DELETE CASCADE) {NOROWID}"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_person_osoba ON ew_person (osoba_id, role)"),
        QStringLiteral("CREATE TABLE {IFNEW} ew_lock (record_id INTEGER NOT NULL PRIMARY KEY, "
                       "session_id INTEGER NOT NULL, locked_at INTEGER NOT NULL, "
                       "CONSTRAINT ew_lock_record_fk FOREIGN KEY (record_id) REFERENCES ew_record (id) "
                       "ON DELETE CASCADE, "
                       "CONSTRAINT ew_lock_session_fk FOREIGN KEY (session_id) REFERENCES ew_session (id) "
                       "ON DELETE CASCADE)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_lock_session ON ew_lock (session_id)"),
    };
    return ddl;
}

// Version 2: operator groups and operators (passwords as Argon2id hashes),
// user-defined field definitions and word lists per kind and symbol, and the
// identifier of the database file. Keys of logins and symbols are case-folded.
const QStringList& Version2() {
    static const QStringList ddl = {
        QStringLiteral("CREATE TABLE {IFNEW} ew_group (id {ID}, name {TEXT} NOT NULL, rights INTEGER NOT "
                       "NULL DEFAULT 0)"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_user (id {ID}, group_id INTEGER NOT NULL, login {TEXT} NOT NULL, "
            "login_key {KEYTEXT} NOT NULL UNIQUE, password_hash {TEXT} NOT NULL, "
            "first_name {TEXT} NOT NULL DEFAULT '', last_name {TEXT} NOT NULL DEFAULT '', "
            "phone {TEXT} NOT NULL DEFAULT '', email {TEXT} NOT NULL DEFAULT '', "
            "CONSTRAINT ew_user_group_fk FOREIGN KEY (group_id) REFERENCES ew_group (id) "
            "ON DELETE CASCADE)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_user_group ON ew_user (group_id)"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_field (id {ID}, kind INTEGER NOT NULL, symbol {KEYTEXT} NOT NULL, "
            "symbol_key {KEYTEXT} NOT NULL, description {TEXT} NOT NULL, "
            "field_type {TEXT} NOT NULL, UNIQUE (kind, symbol_key))"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_word (id {ID}, kind INTEGER NOT NULL, symbol {KEYTEXT} NOT NULL, "
            "word {TEXT} NOT NULL)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_word_list ON ew_word (kind, symbol)"),
    };
    return ddl;
}

// Version 3: lists ordered by a Polish sort key (the list index leads with it); a row
// version per record, raised by every post, so that a change made by another session
// since a record was read is detected; one change counter per record kind, raised by
// every commit that changes records of the kind, so that other connections reload only
// the lists of those kinds; the digits of the subjects' identifiers for duplicate checks.
const QStringList& Version3() {
    static const QStringList ddl = {
        QStringLiteral("ALTER TABLE ew_record ADD COLUMN sort_key {LONGTEXT} NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE ew_record ADD COLUMN version INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("DROP INDEX ew_record_list {ONTABLE:ew_record}"),
        QStringLiteral(
            "CREATE INDEX {IFNEW} ew_record_list ON ew_record (kind, state, {PREFIX:sort_key}, id, owner_id, "
            "is_podatnik, is_pracownik, is_kontrahent{COVER:, line1, line2, line3, search})"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_change (kind INTEGER NOT NULL PRIMARY KEY, counter INTEGER NOT NULL)"),
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_ident (record_id INTEGER NOT NULL, symbol {KEYTEXT} NOT NULL, "
            "digits {KEYTEXT} NOT NULL, PRIMARY KEY (record_id, symbol), "
            "CONSTRAINT ew_ident_record_fk FOREIGN KEY (record_id) REFERENCES ew_record (id) "
            "ON DELETE CASCADE) {NOROWID}"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_ident_digits ON ew_ident (symbol, digits)"),
    };
    return ddl;
}

// Version 5: pairs of subjects that the operator marked as no duplicates (the smaller
// identifier first); the folded name and postal code of every subject go into ew_ident.
const QStringList& Version5() {
    static const QStringList ddl = {
        QStringLiteral(
            "CREATE TABLE {IFNEW} ew_not_duplicate (first_id INTEGER NOT NULL, second_id INTEGER NOT NULL, "
            "PRIMARY KEY (first_id, second_id), "
            "CONSTRAINT ew_not_duplicate_first_fk FOREIGN KEY (first_id) REFERENCES ew_record (id) "
            "ON DELETE CASCADE, "
            "CONSTRAINT ew_not_duplicate_second_fk FOREIGN KEY (second_id) REFERENCES ew_record (id) "
            "ON DELETE CASCADE) {NOROWID}"),
    };
    return ddl;
}

// Version 6: the history of changes. Entries are numbered by the program (seq, the chain
// position, assigned under the write lock) and each carries the SHA-256 of the previous
// entry's hash and its own columns; ew_history_head holds the last position and hash, so
// that entries removed from the end are found as well. Indexes serve the record window
// (record, subject) and the journal (operator and time, registry and time, time).
const QStringList& Version6() {
    static const QStringList ddl = {
        QStringLiteral("CREATE TABLE {IFNEW} ew_history (seq INTEGER NOT NULL PRIMARY KEY, "
                       "at_ms BIGINT NOT NULL, operator_id INTEGER NOT NULL DEFAULT 0, "
                       "operator {KEYTEXT} NOT NULL DEFAULT '', host {TEXT} NOT NULL DEFAULT '', "
                       "event INTEGER NOT NULL, kind INTEGER NOT NULL DEFAULT 0, "
                       "record_id INTEGER NOT NULL DEFAULT 0, subject_id INTEGER NOT NULL DEFAULT 0, "
                       "description {TEXT} NOT NULL DEFAULT '', details {LONGTEXT} NOT NULL, "
                       "hash {KEYTEXT} NOT NULL)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_history_record ON ew_history (record_id, seq)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_history_subject ON ew_history (subject_id, seq)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_history_operator ON ew_history (operator, at_ms, seq)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_history_kind ON ew_history (kind, at_ms, seq)"),
        QStringLiteral("CREATE INDEX {IFNEW} ew_history_time ON ew_history (at_ms, seq)"),
        QStringLiteral("CREATE TABLE {IFNEW} ew_history_head (id INTEGER NOT NULL PRIMARY KEY, "
                       "seq INTEGER NOT NULL, hash {KEYTEXT} NOT NULL)"),
        QStringLiteral("INSERT INTO ew_history_head (id, seq, hash) SELECT 1, 0, '' FROM ew_meta "
                       "WHERE name = 'application' AND NOT EXISTS (SELECT 1 FROM ew_history_head)"),
    };
    return ddl;
}

// Fills what version 3 derives from the stored data.
void FillVersion3(TSqlConnection& C) {
    C.Exec(QStringLiteral("DELETE FROM ew_change"), {}, SqlErrors::ecCriticalOpen);
    C.Exec(QStringLiteral("DELETE FROM ew_ident"), {}, SqlErrors::ecCriticalOpen);
    for (int kind = 1; kind <= 21; ++kind)
        C.Exec(QStringLiteral("INSERT INTO ew_change (kind, counter) VALUES (?, 0)"), {kind},
               SqlErrors::ecCriticalOpen);
    for (const QVariantList& r : C.Rows(QStringLiteral("SELECT id, search FROM ew_record")))
        C.Exec(QStringLiteral("UPDATE ew_record SET sort_key = ? WHERE id = ?"),
               {SqlDescribe::SortKey(r[1].toString()), r[0]}, SqlErrors::ecCriticalOpen);
    QVariantList symbols;
    QString marks;
    for (const QString& symbol : SqlRecordStore::IdentifierSymbols()) {
        symbols << symbol;
        marks += marks.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
    }
    for (const QVariantList& r : C.Rows(
             QStringLiteral("SELECT record_id, symbol, value FROM ew_value WHERE symbol IN (%1)").arg(marks),
             symbols))
        SqlRecordStore::WriteIdentifier(C, r[0].toLongLong(), r[1].toString(), r[2].toString(), true);
}

// One statement, so that a server, which runs the steps outside a transaction, never
// keeps the old row deleted and the new one missing: a database without its version
// would be prepared again from the start, with a new identifier.
void WriteMeta(TSqlConnection& C, const QString& Name, const QString& Value) {
    C.Exec(QStringLiteral("REPLACE INTO ew_meta (name, value) VALUES (?, ?)"), {Name, Value},
           SqlErrors::ecCriticalOpen);
}

// Version 4 changes no table: a representative is described by its linked person's name,
// which the stored lines of earlier versions lack. Writing the lines again can be repeated,
// so a step stopped part way is simply run again.
void FillVersion4(TSqlConnection& C) {
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT id FROM ew_record WHERE kind = ?"), {int(SqlKinds::kReprezentant)}))
        SqlRecordStore::RefreshStoredLines(C, r[0].toLongLong());
}

void RunDdl(TSqlConnection& C, const QStringList& Ddl) {
    for (const QString& t : Ddl)
        C.Exec(C.Dialect().Ddl(t), {}, SqlErrors::ecCriticalOpen);
}

// Step n upgrades version n to n+1; step 0 creates the schema.
const std::vector<std::function<void(TSqlConnection&)>>& Migrations() {
    static const std::vector<std::function<void(TSqlConnection&)>> steps = {
        [](TSqlConnection& c) { RunDdl(c, Version1()); },
        [](TSqlConnection& c) {
            RunDdl(c, Version2());
            WriteMeta(c, QStringLiteral("database_id"), QUuid::createUuid().toString(QUuid::WithoutBraces));
        },
        [](TSqlConnection& c) {
            RunDdl(c, Version3());
            FillVersion3(c);
        },
        [](TSqlConnection& c) { FillVersion4(c); },
        [](TSqlConnection& c) {
            RunDdl(c, Version5());
            SqlDuplicates::WriteAllNameKeys(c);
        },
        [](TSqlConnection& c) { RunDdl(c, Version6()); },
    };
    return steps;
}

bool HasTable(TSqlConnection& C, const QString& Name) {
    for (const QVariantList& row : C.Rows(C.Dialect().ListTables(), {}, SqlErrors::ecOpen))
        if (row.value(0).toString().compare(Name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsOurs(TSqlConnection& C) {
    return HasTable(C, QStringLiteral("ew_meta")) &&
           C.Scalar(QStringLiteral("SELECT count(*) FROM ew_meta WHERE name = 'application'"), {}, 0)
                   .toInt() > 0;
}

} // namespace

QString DataBaseID(TSqlConnection& C) {
    return C.Scalar(QStringLiteral("SELECT value FROM ew_meta WHERE name = 'database_id'")).toString();
}

int StoredVersion(TSqlConnection& C) {
    if (!HasTable(C, QStringLiteral("ew_meta")))
        return 0;
    return C.Scalar(QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"), {}, 0).toInt();
}

// Refuses a database of another program (tables but neither version nor this
// program's mark) or of a newer version.
int CheckedVersion(TSqlConnection& C) {
    const bool empty = C.Rows(C.Dialect().ListTables(), {}, SqlErrors::ecOpen).isEmpty();
    const int version = StoredVersion(C);
    if (!empty && version == 0 && !IsOurs(C))
        Fail(SqlErrors::ecCriticalOpen, QStringLiteral("Plik nie jest bazą danych programu Ewidar."));
    if (version > CurrentVersion)
        Fail(SqlErrors::ecCriticalOpen, QStringLiteral("Baza danych pochodzi z nowszej wersji programu."));
    return version;
}

namespace {

void WriteVersion(TSqlConnection& C, int Version) {
    WriteMeta(C, QStringLiteral("schema_version"), QString::number(Version));
}

// Which program made the database, and which last upgraded it: what an administrator
// asks first when desks of different versions share one.
void WriteProgramVersion(TSqlConnection& C, int FromVersion) {
    WriteMeta(C, FromVersion == 0 ? QStringLiteral("created_by") : QStringLiteral("upgraded_by"),
              QString::fromLatin1(EwidarVersion));
}

// A server commits every DDL statement at once, so the steps cannot share one
// transaction. Desks upgrading at once take turns on a named lock; each step is
// written so that it can run again after a failure part way, and the version is
// written after each step, so a failed upgrade resumes where it stopped.
void PrepareStepwise(TSqlConnection& C) {
    const QString lock = QStringLiteral("ewidar_schema");
    if (C.Scalar(QStringLiteral("SELECT GET_LOCK(CONCAT(?, '.', DATABASE()), 60)"), {lock}, 0).toInt() != 1)
        Fail(SqlErrors::ecFileLocked, QStringLiteral("inna stacja przygotowuje bazę danych"));
    try {
        const int from = CheckedVersion(C);
        for (int v = from; v < CurrentVersion; ++v) {
            Migrations()[v](C);
            WriteVersion(C, v + 1);
        }
        if (from < CurrentVersion)
            WriteProgramVersion(C, from);
    } catch (...) {
        C.Scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT(?, '.', DATABASE()))"), {lock});
        throw;
    }
    C.Scalar(QStringLiteral("SELECT RELEASE_LOCK(CONCAT(?, '.', DATABASE()))"), {lock});
}

} // namespace

void Prepare(TSqlConnection& C) {
    // Checked before taking the write lock, so that opening an up-to-date database
    // never waits for another desk's write.
    if (CheckedVersion(C) == CurrentVersion)
        return;
    if (!C.Dialect().TransactionalDdl()) {
        PrepareStepwise(C);
        return;
    }
    TWriteScope scope(C);
    const int version = CheckedVersion(C); // another desk may have upgraded meanwhile
    if (version == CurrentVersion)
        return;
    for (int v = version; v < CurrentVersion; ++v)
        Migrations()[v](C);
    WriteVersion(C, CurrentVersion);
    WriteProgramVersion(C, version);
    scope.Commit();
}

} // namespace SqlSchema
