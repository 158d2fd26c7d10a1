#include "uSqlBackup.h"
#include "uSqlHistory.h"

#include "uSqlAccess.h"
#include "uSqlBackupFile.h"
#include "uSqlBatchInsert.h"
#include "uSqlConnection.h"
#include "uSqlErrors.h"
#include "uSqlSchema.h"
#include "uSqlSnapshot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace SqlBackup {

namespace {

constexpr int kFormat = 1;

// The tables a restore writes, parents before children; sessions, locks, the
// database's own identity and its change counters are not part of the data.
const QStringList& DataTables() {
    static const QStringList t = {
        QStringLiteral("ew_group"), QStringLiteral("ew_user"),   QStringLiteral("ew_field"),
        QStringLiteral("ew_word"),  QStringLiteral("ew_record"), QStringLiteral("ew_value"),
        QStringLiteral("ew_link"),  QStringLiteral("ew_person"), QStringLiteral("ew_ident"),
        QStringLiteral("ew_not_duplicate"), QStringLiteral("ew_check"),
        QStringLiteral("ew_history"), QStringLiteral("ew_history_head")};
    return t;
}

// Children before parents; sections before their owners.
const QStringList& DeleteStatements() {
    static const QStringList s = {
        QStringLiteral("DELETE FROM ew_lock"),   QStringLiteral("DELETE FROM ew_ident"),
        QStringLiteral("DELETE FROM ew_not_duplicate"), QStringLiteral("DELETE FROM ew_history"),
        QStringLiteral("DELETE FROM ew_history_head"),
        QStringLiteral("DELETE FROM ew_value"),  QStringLiteral("DELETE FROM ew_link"),
        QStringLiteral("DELETE FROM ew_person"), QStringLiteral("DELETE FROM ew_record WHERE owner_id IS NOT NULL"),
        QStringLiteral("DELETE FROM ew_record"), QStringLiteral("DELETE FROM ew_user"),
        QStringLiteral("DELETE FROM ew_group"),  QStringLiteral("DELETE FROM ew_field"),
        QStringLiteral("DELETE FROM ew_word"),   QStringLiteral("DELETE FROM ew_check")};
    return s;
}

QString SelectAll(const QString& Table) {
    return QStringLiteral("SELECT * FROM ") + Table;
}

// Rows are copied table by table, a record perhaps before its owner: the foreign keys
// are checked at the commit (SQLite) or not at all for the copy (a server, whose copy
// comes from a checked backup or a consistent snapshot). Call inside the write scope.
class TForeignKeysLater {
public:
    explicit TForeignKeysLater(TSqlConnection& C) : m_c(C), m_server(C.Dialect().ServerLiveness()) {
        m_c.Exec(m_server ? QStringLiteral("SET SESSION foreign_key_checks = 0")
                          : QStringLiteral("PRAGMA defer_foreign_keys = ON"));
    }
    ~TForeignKeysLater() {
        if (!m_server)
            return;
        try {
            m_c.Exec(QStringLiteral("SET SESSION foreign_key_checks = 1"));
        } catch (...) {
        }
    }
    TForeignKeysLater(const TForeignKeysLater&) = delete;
    TForeignKeysLater& operator=(const TForeignKeysLater&) = delete;

private:
    TSqlConnection& m_c;
    bool m_server;
};

// Percentages to the handler, each once and never falling; a cancel is code 1041.
class TProgress {
public:
    explicit TProgress(const TProgressEvent& Handler) : m_handler(Handler) {}
    void operator()(qint64 Percent) {
        const int percent = int(std::clamp<qint64>(Percent, 0, 100));
        if (percent <= m_last)
            return;
        m_last = percent;
        if (!m_handler)
            return;
        bool cancel = false;
        try {
            m_handler(percent, cancel);
        } catch (...) {
            cancel = true;
        }
        if (cancel)
            Fail(SqlErrors::ecBackupCancelled);
    }
    // A step of Done out of Total mapped onto From..To.
    SqlBackupFile::TStep Span(int From, int To) {
        return [this, From, To](qint64 Done, qint64 Total) {
            (*this)(From + (Total > 0 ? (To - From) * Done / Total : 0));
        };
    }

private:
    const TProgressEvent& m_handler;
    int m_last = -1;
};

// A private connection to an SQLite file that is not in use as a database: the
// snapshot being described, or a backup's database being checked.
class TFileDb {
public:
    explicit TFileDb(const QString& Path) : m_name(QUuid::createUuid().toString()) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(Path);
        if (!m_db.open())
            Fail(SqlErrors::ecBackupDamaged, m_db.lastError().text());
    }
    ~TFileDb() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    TFileDb(const TFileDb&) = delete;
    TFileDb& operator=(const TFileDb&) = delete;

    QList<QVariantList> Rows(const QString& Sql, int Code = SqlErrors::ecBackupDamaged) {
        QSqlQuery q(m_db);
        if (!q.exec(Sql))
            Fail(Code, q.lastError().text());
        QList<QVariantList> rows;
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            rows << row;
        }
        return rows;
    }
    void EachRow(const QString& Sql, const std::function<void(const QSqlQuery&)>& Row) {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.exec(Sql))
            Fail(SqlErrors::ecBackupDamaged, q.lastError().text());
        while (q.next())
            Row(q);
    }

private:
    QString m_name;
    QSqlDatabase m_db;
};

using TRows = std::function<QList<QVariantList>(const QString&)>;

// Record counts per kind and row counts of the other data tables.
QJsonObject Counts(const TRows& Rows) {
    QJsonObject records;
    for (const QVariantList& r : Rows(QStringLiteral("SELECT kind, count(*) FROM ew_record GROUP BY kind")))
        records.insert(r.value(0).toString(), r.value(1).toLongLong());
    QJsonObject tables;
    for (const QString& t : DataTables())
        if (t != QLatin1String("ew_record"))
            tables.insert(t, Rows(QStringLiteral("SELECT count(*) FROM ") + t).value(0).value(0).toLongLong());
    return QJsonObject{{QStringLiteral("records"), records}, {QStringLiteral("tables"), tables}};
}

qint64 TotalRows(const QJsonObject& Manifest) {
    qint64 n = 0;
    for (const QString& part : {QStringLiteral("records"), QStringLiteral("tables")}) {
        const QJsonObject o = Manifest.value(part).toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            n += it.value().toInteger();
    }
    return n;
}

bool SameCounts(const QJsonObject& Counted, const QJsonObject& Manifest) {
    return Counted.value(QStringLiteral("records")) == Manifest.value(QStringLiteral("records")) &&
           Counted.value(QStringLiteral("tables")) == Manifest.value(QStringLiteral("tables"));
}

using TEachRow = std::function<void(const QString&, const std::function<void(const QSqlQuery&)>&)>;

void CopyTable(const TEachRow& From, TSqlConnection& To, const QString& Table, int FailCode,
               const std::function<void(qint64)>& Copied = {}) {
    TSqlBatchInsert batch(To, Table, {}, FailCode, Copied);
    From(SelectAll(Table), [&](const QSqlQuery& q) { batch.AddFrom(q); });
    batch.Flush();
}

// A server's tables filled with the session's unique checks off, but for the tables that
// have a unique key besides the primary one (the server may compare such texts, by case
// or trailing spaces, otherwise than the engine the backup comes from: they keep their
// check). With the foreign-key checks off as well, InnoDB takes the rows of a copy into
// an empty table as one bulk insert, each index built sorted and the table's undo logged
// as a whole (a rollback empties it again), rather than row by row. The primary keys are
// checked either way. Call inside the write scope; the checks come back at the end.
class TServerBulkCopy {
public:
    explicit TServerBulkCopy(TSqlConnection& C) : m_c(C) {
        for (const QVariantList& r : m_c.Rows(
                 QStringLiteral("SELECT DISTINCT table_name FROM information_schema.statistics WHERE "
                                "table_schema = DATABASE() AND non_unique = 0 AND index_name <> 'PRIMARY'"),
                 {}, SqlErrors::ecRestoreFailed))
            m_uniqueKeys << r.value(0).toString().toLower();
    }
    ~TServerBulkCopy() {
        try {
            UniqueChecks(true);
        } catch (...) {
        }
    }
    TServerBulkCopy(const TServerBulkCopy&) = delete;
    TServerBulkCopy& operator=(const TServerBulkCopy&) = delete;

    void Copy(const TEachRow& From, const QString& Table, const std::function<void(qint64)>& Copied) {
        UniqueChecks(m_uniqueKeys.contains(Table.toLower()));
        CopyTable(From, m_c, Table, SqlErrors::ecRestoreFailed, Copied);
    }

private:
    void UniqueChecks(bool On) {
        if (On == m_on)
            return;
        m_c.Exec(QStringLiteral("SET SESSION unique_checks = %1").arg(On ? 1 : 0), {}, SqlErrors::ecRestoreFailed);
        m_on = On;
    }

    TSqlConnection& m_c;
    QStringList m_uniqueKeys;
    bool m_on = true;
};

// Page cache of an SQLite connection while a whole database is written through it, so
// that index pages are not written out and read again many times over.
const QString kCopyCache = QStringLiteral("PRAGMA cache_size = -131072");

// A backup's database attached to an SQLite connection for the time of a restore, so
// that each table is copied by one INSERT ... SELECT inside the engine, with a larger
// page cache. Attached before the write transaction (SQLite refuses it inside one) and
// detached after it, when the connection's own cache size comes back.
class TAttached {
public:
    TAttached(TSqlConnection& C, const QString& File) : m_c(C) {
        m_cache = m_c.Scalar(QStringLiteral("PRAGMA cache_size")).toLongLong();
        m_c.Exec(kCopyCache);
        m_c.Exec(QStringLiteral("ATTACH DATABASE ? AS ew_kopia"), {File}, SqlErrors::ecRestoreFailed);
    }
    ~TAttached() {
        try {
            m_c.Exec(QStringLiteral("DETACH DATABASE ew_kopia"));
            if (m_cache != 0)
                m_c.Exec(QStringLiteral("PRAGMA cache_size = %1").arg(m_cache));
        } catch (...) {
        }
    }
    TAttached(const TAttached&) = delete;
    TAttached& operator=(const TAttached&) = delete;

    // The rows of Table, named column by column (an upgraded backup may hold them in
    // another order than this database); returns how many were copied.
    qint64 Copy(TFileDb& Source, const QString& Table) {
        QStringList columns;
        for (const QVariantList& c : Source.Rows(QStringLiteral("PRAGMA table_info(%1)").arg(Table)))
            columns << c.value(1).toString();
        const QString list = columns.join(u',');
        m_c.Exec(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM ew_kopia.%1").arg(Table, list), {},
                 SqlErrors::ecRestoreFailed);
        return Source.Rows(QStringLiteral("SELECT count(*) FROM ") + Table).value(0).value(0).toLongLong();
    }

private:
    TSqlConnection& m_c;
    qint64 m_cache = 0;
};

// An SQLite database's own indexes dropped while a whole copy goes in, inside its write
// transaction (which undoes the drop should the copy fail), and made again once the rows
// are in: one sort each rather than grown row by row.
class TIndexesLater {
public:
    TIndexesLater(TSqlConnection& C, int Code) : m_c(C), m_code(Code) {
        m_indexes = m_c.Rows(
            QStringLiteral("SELECT name, sql FROM main.sqlite_master WHERE type = 'index' AND sql IS NOT NULL"), {},
            Code);
        for (const QVariantList& index : m_indexes)
            m_c.Exec(QStringLiteral("DROP INDEX main.") + index.value(0).toString(), {}, Code);
    }
    void Rebuild() {
        for (const QVariantList& index : m_indexes)
            m_c.Exec(index.value(1).toString(), {}, m_code);
    }

private:
    TSqlConnection& m_c;
    int m_code;
    QList<QVariantList> m_indexes;
};

QString Quoted(const QString& Text) {
    return u'\'' + QString(Text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The written backup goes into the history over a connection of its own (the backup may
// run on another thread). The file is already complete and verified, so a database that
// refuses the entry does not undo it.
void NoteInHistory(const QString& Symbol, const TSqlTarget& Target, qint64 Operator, const QString& Path) {
    try {
        TSqlConnection c(Symbol, MakeDialect(Symbol));
        c.Open(Target, 0);
        c.SetOperator(Operator);
        SqlHistory::Append(c, {THistoryEvent::heBackup, 0, 0, 0, QString(),
                               {{QStringLiteral("plik"), QStringLiteral("Plik kopii"), QString(), Path}}});
    } catch (...) {
    }
}

// An SQLite database copied in one read transaction into a new file. The copy is
// written as the connection's own commits are synced, and it is a scratch file, hashed
// and checked completely once it is in the backup: not synced, so that its hundred
// megabytes do not hold the disk against the commits of the program working beside the
// backup. The connection's own setting comes back for its closing writes.
void VacuumInto(TSqlConnection& C, const QString& File) {
    const QString restore = QStringLiteral("PRAGMA synchronous = %1")
                                .arg(C.Scalar(QStringLiteral("PRAGMA synchronous")).toInt());
    C.Exec(QStringLiteral("PRAGMA synchronous = OFF"), {}, SqlErrors::ecBackupFailed);
    try {
        C.Exec(QStringLiteral("VACUUM INTO ") + Quoted(File), {}, SqlErrors::ecBackupFailed);
    } catch (...) {
        try {
            C.Exec(restore);
        } catch (...) {
        }
        throw;
    }
    C.Exec(restore, {}, SqlErrors::ecBackupFailed);
}

// A server database read in one consistent snapshot into a new SQLite file of this schema.
void CopyServer(TSqlConnection& Server, const QString& File) {
    TSqlTarget target;
    target.database = File;
    TSqlConnection file(QStringLiteral("SQLITE"), MakeDialect(QStringLiteral("SQLITE")));
    file.Open(target, 0);
    // A scratch file, checked completely once it is in the backup: filled without a
    // journal and without syncs.
    for (const QString& pragma : {QStringLiteral("PRAGMA journal_mode = OFF"), QStringLiteral("PRAGMA synchronous = OFF"),
                                  kCopyCache})
        file.Exec(pragma, {}, SqlErrors::ecBackupFailed);
    const TEachRow from = [&](const QString& Sql, const std::function<void(const QSqlQuery&)>& Row) {
        Server.EachRow(Sql, {}, Row);
    };
    TSqlReadSnapshot snapshot(Server, SqlErrors::ecBackupFailed);
    TWriteScope scope(file);
    TForeignKeysLater later(file);
    // A new file starts with rows of its own (its identity, the history's head):
    // the copy holds only the server's.
    for (const QString& sql : QStringList{QStringLiteral("DELETE FROM ew_meta"),
                                          QStringLiteral("DELETE FROM ew_change")} + DeleteStatements())
        file.Exec(sql, {}, SqlErrors::ecBackupFailed);
    TIndexesLater indexes(file, SqlErrors::ecBackupFailed);
    for (const QString& t : QStringList{QStringLiteral("ew_meta"), QStringLiteral("ew_change")} + DataTables())
        CopyTable(from, file, t, SqlErrors::ecBackupFailed);
    indexes.Rebuild();
    scope.Commit();
    snapshot.End();
    file.Close();
}

// Leaves out sessions and locks of the copied database and describes what it holds.
QJsonObject DescribeSnapshot(const QString& File, const QString& Symbol) {
    TFileDb db(File);
    const int code = SqlErrors::ecBackupFailed;
    db.Rows(QStringLiteral("PRAGMA synchronous = OFF"), code); // a scratch file, as above
    db.Rows(QStringLiteral("PRAGMA journal_mode = DELETE"), code);
    db.Rows(QStringLiteral("DELETE FROM ew_lock"), code);
    db.Rows(QStringLiteral("DELETE FROM ew_session"), code);
    db.Rows(QStringLiteral("UPDATE ew_record SET session_id = NULL WHERE session_id IS NOT NULL"), code);
    const auto meta = [&](const char* Name) {
        return db.Rows(QStringLiteral("SELECT value FROM ew_meta WHERE name = '%1'").arg(QLatin1String(Name)), code)
            .value(0)
            .value(0)
            .toString();
    };
    QJsonObject m = Counts([&](const QString& Sql) { return db.Rows(Sql, code); });
    m.insert(QStringLiteral("format"), kFormat);
    m.insert(QStringLiteral("created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    m.insert(QStringLiteral("program"), QStringLiteral(QUOR_SQL_VERSION));
    m.insert(QStringLiteral("schema"), meta("schema_version").toInt());
    m.insert(QStringLiteral("database_id"), meta("database_id"));
    m.insert(QStringLiteral("engine"), Symbol);
    return m;
}

// Reads the whole backup into DatabaseFile and checks it: container, manifest,
// the database's SHA-256, the engine's integrity check and the counts.
QJsonObject ReadChecked(const QString& Path, const QString& Password, const QString& DatabaseFile, TProgress& P,
                        int From, int To) {
    QString sha;
    const QByteArray text =
        SqlBackupFile::Extract(Path, Password, DatabaseFile, sha, P.Span(From, From + (To - From) * 7 / 10));
    QJsonParseError error;
    const QJsonObject m = QJsonDocument::fromJson(text, &error).object();
    if (error.error != QJsonParseError::NoError || m.value(QStringLiteral("format")).toInt() < 1)
        Fail(SqlErrors::ecBackupDamaged, QStringLiteral("opis kopii jest nieczytelny"));
    if (m.value(QStringLiteral("format")).toInt() > kFormat ||
        m.value(QStringLiteral("schema")).toInt() > SqlSchema::CurrentVersion)
        Fail(SqlErrors::ecBackupNewer,
             QStringLiteral("kopia: schemat %1, program %2; ten program zna schemat do %3")
                 .arg(m.value(QStringLiteral("schema")).toInt())
                 .arg(m.value(QStringLiteral("program")).toString())
                 .arg(SqlSchema::CurrentVersion));
    if (sha != m.value(QStringLiteral("sha256")).toString())
        Fail(SqlErrors::ecBackupDamaged, QStringLiteral("suma SHA-256 bazy nie zgadza się z opisem kopii"));
    TFileDb db(DatabaseFile);
    const QString check = db.Rows(QStringLiteral("PRAGMA quick_check")).value(0).value(0).toString();
    if (check != QLatin1String("ok"))
        Fail(SqlErrors::ecBackupDamaged, QStringLiteral("kontrola spójności bazy: ") + check.left(200));
    P(From + (To - From) * 9 / 10);
    if (!SameCounts(Counts([&](const QString& Sql) { return db.Rows(Sql); }), m))
        Fail(SqlErrors::ecBackupDamaged, QStringLiteral("liczby rekordów nie zgadzają się z opisem kopii"));
    P(To);
    return m;
}

QString WorkFolder(QTemporaryDir& Dir) {
    if (!Dir.isValid())
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można utworzyć folderu tymczasowego"));
    return Dir.path();
}

} // namespace

void Backup(const QString& Symbol, const TSqlTarget& Target, qint64 Operator, const QString& Path,
            const QString& Password, const TProgressEvent& Progress) {
    TProgress p(Progress);
    p(0);
    const QFileInfo fi(Path);
    if (Path.isEmpty() || !QFileInfo(fi.absolutePath()).isDir() || !QFileInfo(fi.absolutePath()).isWritable())
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można pisać w folderze %1").arg(fi.absolutePath()));
    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("ewidar-kopia-XXXXXX")));
    const QString snapshot = QDir(WorkFolder(work)).filePath(QStringLiteral("baza.db"));
    // A backup waits for other desks' writes as long as it takes, not the desk's short
    // wait: registering its session and its history entry are its only writes.
    TSqlTarget target = Target;
    target.busyMs = std::max(Target.busyMs, 60000);
    {
        TSqlConnection own(Symbol, MakeDialect(Symbol));
        own.Open(target, 0);
        own.SetOperator(Operator);
        SqlAccess::Demand(own, SqlAccess::rtView);
        p(5);
        if (own.Dialect().ServerLiveness())
            CopyServer(own, snapshot);
        else
            VacuumInto(own, snapshot);
    }
    p(40);
    QJsonObject manifest = DescribeSnapshot(snapshot, Symbol);
    manifest.insert(QStringLiteral("sha256"), SqlBackupFile::FileSha256(snapshot, p.Span(40, 50)));
    const QString temp =
        QStringLiteral("%1.%2.niepelna").arg(fi.absoluteFilePath()).arg(QCoreApplication::applicationPid());
    try {
        SqlBackupFile::Write(temp, snapshot, QJsonDocument(manifest).toJson(QJsonDocument::Compact), Password,
                             p.Span(50, 70));
        QFile::remove(snapshot);
        const QJsonObject read =
            ReadChecked(temp, Password, QDir(work.path()).filePath(QStringLiteral("sprawdzenie.db")), p, 70, 99);
        if (read != manifest)
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("kopia odczytana po zapisie różni się od zapisanej"));
        if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(fi.absoluteFilePath()).constData()) !=
            0)
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można nadać kopii nazwy %1").arg(Path));
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    NoteInHistory(Symbol, target, Operator, Path);
    p(100);
}

QString Inspect(const QString& Path, const QString& Password, const TProgressEvent& Progress) {
    TProgress p(Progress);
    p(0);
    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("ewidar-kopia-XXXXXX")));
    const QJsonObject m =
        ReadChecked(Path, Password, QDir(WorkFolder(work)).filePath(QStringLiteral("baza.db")), p, 0, 100);
    return QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact));
}

void Restore(TSqlConnection& C, const QString& Path, const QString& Password, const TProgressEvent& Progress) {
    C.Require();
    SqlAccess::Demand(C, SqlAccess::rtOperators);
    if (C.InUserTransaction())
        Fail(SqlErrors::ecRestoreFailed, QStringLiteral("przywracanie nie może się odbyć w otwartej transakcji"));
    TProgress p(Progress);
    p(0);
    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("ewidar-kopia-XXXXXX")));
    const QString file = QDir(WorkFolder(work)).filePath(QStringLiteral("baza.db"));
    const QJsonObject manifest = ReadChecked(Path, Password, file, p, 0, 30);
    if (manifest.value(QStringLiteral("schema")).toInt() < SqlSchema::CurrentVersion) {
        // An older backup is brought to this schema by the ordinary forward migrations.
        TSqlTarget target;
        target.database = file;
        TSqlConnection upgrade(QStringLiteral("SQLITE"), MakeDialect(QStringLiteral("SQLITE")));
        upgrade.Open(target, 0);
        upgrade.Close();
    }
    TFileDb source(file);
    const QJsonObject expected = Counts([&](const QString& Sql) { return source.Rows(Sql); });
    const TEachRow from = [&](const QString& Sql, const std::function<void(const QSqlQuery&)>& Row) {
        source.EachRow(Sql, Row);
    };
    const qint64 total = std::max<qint64>(1, TotalRows(expected));
    qint64 copied = 0;
    const auto advance = [&](qint64 Rows) {
        copied += Rows;
        p(32 + 66 * copied / total);
    };
    // Into an SQLite database the rows go table by table inside the engine, its indexes
    // made after them; to a server, many rows per statement, in bulk where it can.
    std::optional<TAttached> attached;
    if (!C.Dialect().ServerLiveness())
        attached.emplace(C, file);
    TWriteScope scope(C);
    TForeignKeysLater later(C);
    std::optional<TIndexesLater> indexes;
    std::optional<TServerBulkCopy> bulk;
    if (attached)
        indexes.emplace(C, SqlErrors::ecRestoreFailed);
    else
        bulk.emplace(C);
    for (const QString& sql : DeleteStatements())
        C.Exec(sql, {}, SqlErrors::ecRestoreFailed);
    p(32);
    for (const QString& t : DataTables()) {
        if (attached)
            advance(attached->Copy(source, t));
        else
            bulk->Copy(from, t, advance);
    }
    if (indexes)
        indexes->Rebuild();
    if (!SameCounts(Counts([&](const QString& Sql) { return C.Rows(Sql, {}, SqlErrors::ecRestoreFailed); }),
                    expected))
        Fail(SqlErrors::ecRestoreFailed, QStringLiteral("po przywróceniu liczby rekordów różnią się od kopii"));
    // Chained onto the restored history, in the restore's own transaction.
    SqlHistory::Append(C, {THistoryEvent::heRestore, 0, 0, 0, QString(),
                           {{QStringLiteral("plik"), QStringLiteral("Plik kopii"), QString(), Path}}});
    p(99);
    for (int kind = 1; kind <= 21; ++kind)
        scope.Changed(kind);
    scope.Commit();
    p(100);
}

} // namespace SqlBackup
