// The schema on both engines: enforced foreign keys, a database of the previous
// version upgraded on opening, an upgrade stopped part way and completed by the next
// opening, and desks that open an old database at the same time.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "TestServer.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"
#include "uVersion.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>

namespace {

// A connection of its own to a test database, as an administrator's tool would use it.
class TRaw {
public:
    explicit TRaw(const QString& Path) : m_name(QUuid::createUuid().toString()) {
        AddRawConnection(m_name, Path).open();
    }
    ~TRaw() {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    TRaw(const TRaw&) = delete;
    TRaw& operator=(const TRaw&) = delete;

    // Runs the statements in turn; the error of the first that fails, or an empty text.
    QString Exec(const QStringList& Sql) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        for (const QString& s : Sql)
            if (!q.exec(s))
                return s + QStringLiteral(": ") + q.lastError().text();
        return {};
    }
    // The rows of a query, each with its columns joined by '|', sorted.
    QStringList Rows(const QString& Sql) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        QStringList rows;
        if (!q.exec(Sql))
            return {QStringLiteral("error: ") + q.lastError().text()};
        while (q.next()) {
            QStringList cols;
            for (int i = 0; i < q.record().count(); ++i)
                cols << q.value(i).toString();
            rows << cols.join(u'|');
        }
        rows.sort();
        return rows;
    }
    QString Value(const QString& Sql) { return Rows(Sql).value(0); }

private:
    QString m_name;
};

// The foreign keys: table, column, referenced table and column, what a deletion of the
// referenced row does. Both engines name the refusal differently; it means the same.
QStringList ForeignKeys(TRaw& Db) {
    QStringList keys = Db.Rows(
        ServerDialect()
            ? QStringLiteral(
                  "SELECT k.table_name, k.column_name, k.referenced_table_name, k.referenced_column_name, "
                  "r.delete_rule FROM information_schema.key_column_usage k "
                  "JOIN information_schema.referential_constraints r ON r.constraint_schema = "
                  "k.constraint_schema AND r.table_name = k.table_name AND r.constraint_name = "
                  "k.constraint_name WHERE k.table_schema = DATABASE()")
            : QStringLiteral(
                  "SELECT m.name, f.\"from\", f.\"table\", f.\"to\", f.on_delete "
                  "FROM sqlite_master m, pragma_foreign_key_list(m.name) f WHERE m.type = 'table'"));
    keys.replaceInStrings(QStringLiteral("|RESTRICT"), QStringLiteral("|NO ACTION"));
    return keys;
}

// Tables, columns, indexes and foreign keys, without the names engines give on their own.
QStringList Schema(TRaw& Db) {
    QStringList s;
    if (ServerDialect()) {
        s << Db.Rows(
            QStringLiteral("SELECT table_name, engine, table_collation FROM information_schema.tables "
                           "WHERE table_schema = DATABASE()"));
        s << Db.Rows(
            QStringLiteral("SELECT table_name, column_name, ordinal_position, column_type, is_nullable, "
                           "IFNULL(column_default, '-'), IFNULL(collation_name, '-'), extra "
                           "FROM information_schema.columns WHERE table_schema = DATABASE()"));
        s << Db.Rows(QStringLiteral("SELECT table_name, index_name, seq_in_index, column_name, "
                                    "IFNULL(sub_part, 0), non_unique FROM information_schema.statistics "
                                    "WHERE table_schema = DATABASE()"));
    } else {
        s << Db.Rows(QStringLiteral("SELECT m.name, p.cid, p.name, p.type, p.\"notnull\", "
                                    "IFNULL(p.dflt_value, '-'), p.pk FROM sqlite_master m, "
                                    "pragma_table_info(m.name) p WHERE m.type = 'table'"));
        s << Db.Rows(
            QStringLiteral("SELECT m.name, l.name, l.\"unique\", i.seqno, i.name FROM sqlite_master m, "
                           "pragma_index_list(m.name) l, pragma_index_info(l.name) i "
                           "WHERE m.type = 'table'"));
    }
    return s << ForeignKeys(Db);
}

// Undoes what the current version added to version 2: the database a desk of the
// previous version left, with everything it stored.
QString DowngradeToVersion2(TRaw& Db) {
    QStringList sql = {QStringLiteral("DROP TABLE ew_change"), QStringLiteral("DROP TABLE ew_ident"),
                       QStringLiteral("DROP TABLE ew_history"), QStringLiteral("DROP TABLE ew_history_head"),
                       QStringLiteral("DROP TABLE ew_not_duplicate")};
    if (ServerDialect())
        sql << QStringLiteral("DROP INDEX ew_record_list ON ew_record")
            << QStringLiteral("ALTER TABLE ew_record DROP COLUMN sort_key, DROP COLUMN version")
            << QStringLiteral(
                   "CREATE INDEX ew_record_list ON ew_record (kind, state, search(100), id, owner_id, "
                   "is_podatnik, is_pracownik, is_kontrahent)");
    else
        sql << QStringLiteral("DROP INDEX ew_record_list")
            << QStringLiteral("ALTER TABLE ew_record DROP COLUMN sort_key")
            << QStringLiteral("ALTER TABLE ew_record DROP COLUMN version")
            << QStringLiteral("CREATE INDEX ew_record_list ON ew_record (kind, state, search, id, owner_id, "
                              "is_podatnik, is_pracownik, is_kontrahent, line1, line2, line3)");
    // Earlier versions described a representative by name fields of its own, which its
    // window never writes.
    sql << QStringLiteral("UPDATE ew_record SET line1 = '', line2 = '' WHERE kind = 19")
        << QStringLiteral("UPDATE ew_meta SET value = '2' WHERE name = 'schema_version'")
        << QStringLiteral("UPDATE ew_meta SET value = '0.0.9' WHERE name = 'created_by'");
    return Db.Exec(sql);
}

QString Version(TRaw& Db) {
    return Db.Value(QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"));
}

} // namespace

// A database of version 2 holding records, values, a link and an operator.
class SchemaUpgradeTest : public BackendTest {
protected:
    // Fills the database at Path through the backend and takes it back to version 2.
    void MakeOldDataBase(const QString& Path) {
        auto db = Open(Path);
        ASSERT_TRUE(db);
        auto stary =
            NewPodatnik(db.get(), QStringLiteral("Stary"), QStringLiteral("Plik"), QStringLiteral("Kalisz"));
        SetValue(stary.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-74"));
        ASSERT_TRUE(stary->Post());
        NewPodatnik(db.get(), QStringLiteral("Ćma"), QStringLiteral("Adam"));
        auto cyran = NewPodatnik(db.get(), QStringLiteral("Cyran"), QStringLiteral("Zenon"));
        auto zus = NewPosted(db->GetRegistries()->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol,
                             QStringLiteral("ZUS I Oddział"));
        Supports<IPodmiot>(cyran)->SetDaneZUS(zus.get());
        ASSERT_TRUE(cyran->Post());
        auto pelnomocnik = Supports<IReprezentant>(Supports<IPodmiot>(stary)->GetReprezentanci()->New());
        pelnomocnik->SetPodmiot(cyran.get());
        ASSERT_TRUE(pelnomocnik->Post());
        pelnomocnik = nullptr;
        auto group = db->GetUsersGroups()->AddGroup();
        group->SetName(u"Administratorzy");
        group->SetUprawnienia(31);
        ASSERT_TRUE(group->Post());
        auto admin = group->GetUsers()->AddUser();
        admin->SetLogin(u"admin");
        admin->SetPassword(u"Zażółć");
        ASSERT_TRUE(admin->Post());
        m_id = Q(db->GetDataBaseID());
        stary = cyran = zus = nullptr;
        group = nullptr;
        admin = nullptr;
        db->Disconnect();
        TRaw raw(Path);
        m_counts = Counts(raw);
        ASSERT_EQ(DowngradeToVersion2(raw), QString());
        ASSERT_EQ(Version(raw), QStringLiteral("2"));
    }

    static QStringList Counts(TRaw& Db) {
        return {Db.Value(QStringLiteral("SELECT count(*) FROM ew_record")),
                Db.Value(QStringLiteral("SELECT count(*) FROM ew_value")),
                Db.Value(QStringLiteral("SELECT count(*) FROM ew_link")),
                Db.Value(QStringLiteral("SELECT count(*) FROM ew_user"))};
    }

    // Another empty database: a new server database, or a file of that name.
    QString EmptyDataBase(const QString& Name) {
        return ServerDialect() ? TestServer::NewDataBase() : m_dir + u'/' + Name + QStringLiteral(".db");
    }

    // The schema of a database that the current version created.
    const QStringList& NewSchema() {
        if (m_newSchema.isEmpty()) {
            const QString path = EmptyDataBase(QStringLiteral("new"));
            if (auto db = Open(path))
                db->Disconnect();
            TRaw raw(path);
            m_newSchema = Schema(raw);
        }
        return m_newSchema;
    }

    // Opens the upgraded database at Path and checks that it holds what version 2 held,
    // once, with everything the current version derives from it.
    void ExpectUpgraded(const QString& Path) {
        m_db->Disconnect();
        m_db = Open(Path);
        ASSERT_TRUE(m_db);
        {
            TRaw raw(Path);
            EXPECT_EQ(Version(raw), QStringLiteral("6"));
            // The upgrade names this program; the version that made the database stays.
            EXPECT_EQ(raw.Rows(QStringLiteral("SELECT name, value FROM ew_meta WHERE name LIKE '%_by'")),
                      QStringList({QStringLiteral("created_by|0.0.9"),
                                   QStringLiteral("upgraded_by|") + QLatin1String(EwidarVersion)}));
            EXPECT_EQ(Counts(raw), m_counts);
            EXPECT_EQ(raw.Value(QStringLiteral("SELECT count(*) FROM ew_change")), QStringLiteral("21"));
            EXPECT_EQ(raw.Rows(QStringLiteral("SELECT symbol, digits FROM ew_ident")),
                      QStringList({QStringLiteral("cDanePodmiotuNIP|5260250274")}));
            const QStringList schema = Schema(raw);
            EXPECT_EQ(schema.filter(QStringLiteral("error: ")), QStringList());
            EXPECT_EQ(schema, NewSchema());
        }
        EXPECT_EQ(Q(m_db->GetDataBaseID()), m_id);
        // The database has an operator: its data is read after logging in.
        EXPECT_TRUE(m_db->Login(u"admin", u"Zażółć"));
        auto list = Reg()->GetPodatnicy({});
        EXPECT_EQ(ListLines(list.get()),
                  QStringList({QStringLiteral("Cyran Zenon"), QStringLiteral("Ćma Adam"),
                               QStringLiteral("Stary Plik")}));
        ASSERT_EQ(list->GetCount(), 3);
        auto stary = EwidarKinds::CollectionGetItem(list.get(), 2);
        EXPECT_EQ(Value(stary.get(), cDanePodmiotuNIP.Symbol), QStringLiteral("526-025-02-74"));
        auto reps = Supports<IPodmiot>(stary)->GetReprezentanci();
        EXPECT_EQ(ListLines(reps.get(), 0) + ListLines(reps.get(), 1),
                  QStringList({QStringLiteral("Cyran"), QStringLiteral("Zenon")}));
        auto cyran = Supports<IPodmiot>(EwidarKinds::CollectionGetItem(list.get(), 0));
        ASSERT_TRUE(cyran->GetDaneZUS());
        // The link's key holds: the office it names cannot be deleted.
        auto zus = cyran->GetDaneZUS();
        EXPECT_FALSE(zus->Delete());
        EXPECT_EQ(zus->GetLastErrorCode(), 202);
        EXPECT_TRUE(Supports<IPodmiot>(list->New())->HasDuplicate(u"", u"5260250274", u""));
        EXPECT_TRUE(m_db->IsAdministrator());
    }

    QString m_id;
    QStringList m_counts;
    QStringList m_newSchema;
};

TEST_F(SchemaUpgradeTest, EveryReferenceIsAnEnforcedForeignKey) {
    TRaw raw(m_path);
    EXPECT_EQ(ForeignKeys(raw), QStringList({
                                    QStringLiteral("ew_ident|record_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_link|source_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_link|target_id|ew_record|id|NO ACTION"),
                                    QStringLiteral("ew_lock|record_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_lock|session_id|ew_session|id|CASCADE"),
                                    QStringLiteral("ew_not_duplicate|first_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_not_duplicate|second_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_person|osoba_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_person|podatnik_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_record|owner_id|ew_record|id|CASCADE"),
                                    QStringLiteral("ew_user|group_id|ew_group|id|CASCADE"),
                                    QStringLiteral("ew_value|record_id|ew_record|id|CASCADE"),
                                }));
    // Enforced, not only declared (a file enforces them on connections that ask for it, as the
    // backend's do): a value of a missing record is refused.
    if (!ServerDialect()) {
        ASSERT_EQ(raw.Exec({QStringLiteral("PRAGMA foreign_keys = ON")}), QString());
    }
    EXPECT_NE(raw.Exec({QStringLiteral("INSERT INTO ew_value (record_id, symbol) VALUES (999999, 'x')")}),
              QString());
}

TEST_F(SchemaUpgradeTest, ANewDataBaseNamesTheProgramVersionThatMadeIt) {
    TRaw raw(m_path);
    EXPECT_EQ(raw.Rows(QStringLiteral("SELECT name, value FROM ew_meta WHERE name LIKE '%_by'")),
              QStringList({QStringLiteral("created_by|") + QLatin1String(EwidarVersion)}));
    // Opening an up-to-date database writes nothing.
    m_db->Disconnect();
    m_db = Open(m_path);
    ASSERT_TRUE(m_db);
    EXPECT_EQ(raw.Rows(QStringLiteral("SELECT name FROM ew_meta WHERE name LIKE '%_by'")),
              QStringList({QStringLiteral("created_by")}));
}

TEST_F(SchemaUpgradeTest, AVersion2DataBaseIsUpgradedKeepingEverything) {
    const QString old = EmptyDataBase(QStringLiteral("old"));
    MakeOldDataBase(old);
    ExpectUpgraded(old);
}

// Each obstacle stops the upgrade at another point; once it is gone, the next opening
// finishes the upgrade. A server commits each statement of the upgrade on its own, so
// what a stopped upgrade did stays and must be neither lost nor done twice.
TEST_F(SchemaUpgradeTest, AnUpgradeStoppedPartWayIsCompletedByTheNextOpening) {
    const auto refuse = [](const QString& Event, const QString& Table, const QString& When) {
        return ServerDialect()
                   ? QStringLiteral("CREATE TRIGGER ew_obstacle BEFORE %1 ON %2 FOR EACH ROW BEGIN "
                                    "IF %3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
                                    "'obstacle'; END IF; END")
                         .arg(Event, Table, When)
                   : QStringLiteral("CREATE TRIGGER ew_obstacle BEFORE %1 ON %2 WHEN %3 BEGIN "
                                    "SELECT RAISE(ABORT, 'obstacle'); END")
                         .arg(Event, Table, When);
    };
    struct TObstacle {
        const char* what;
        QString make, remove;
    };
    const TObstacle obstacles[] = {
        // A table the upgrade creates, already there in another layout: its index fails.
        {"a table in the way", QStringLiteral("CREATE TABLE ew_ident (x INTEGER)"),
         QStringLiteral("DROP TABLE ew_ident")},
        // The last record's sort key is refused, after the others were written.
        {"a record refused",
         refuse(QStringLiteral("UPDATE"), QStringLiteral("ew_record"), QStringLiteral("NEW.id = %1")),
         QStringLiteral("DROP TRIGGER ew_obstacle")},
        // Everything done but the version: a lost version would prepare the database
        // again from the start and give it a new identifier.
        {"the version refused",
         refuse(QStringLiteral("INSERT"), QStringLiteral("ew_meta"),
                QStringLiteral("NEW.name = 'schema_version'")),
         QStringLiteral("DROP TRIGGER ew_obstacle")},
    };
    int n = 0;
    for (const TObstacle& o : obstacles) {
        SCOPED_TRACE(o.what);
        const QString old = EmptyDataBase(QStringLiteral("old%1").arg(++n));
        MakeOldDataBase(old);
        {
            TRaw raw(old);
            const QString last = raw.Value(QStringLiteral("SELECT max(id) FROM ew_record"));
            ASSERT_EQ(raw.Exec({QString(o.make).replace(QStringLiteral("%1"), last)}), QString());
        }
        auto db = NewRoot();
        std::u16string param = U(Param(old));
        EXPECT_FALSE(db->Connect(param, true));
        EXPECT_EQ(db->GetLastErrorCode(), 101);
        {
            TRaw raw(old);
            EXPECT_EQ(Version(raw), QStringLiteral("2"));
            ASSERT_EQ(raw.Exec({o.remove}), QString());
        }
        ExpectUpgraded(old);
    }
}

TEST_F(SchemaUpgradeTest, TwoDesksOpeningAnOldDataBaseTakeTurns) {
    if (!ServerDialect())
        GTEST_SKIP() << "one file has one writer; desks of a server take turns on a named lock";
    const QString old = EmptyDataBase({});
    MakeOldDataBase(old);
    // The lock the upgrading desk holds, taken here first so that both desks wait for it.
    TRaw holder(old);
    ASSERT_EQ(holder.Value(QStringLiteral("SELECT GET_LOCK(CONCAT('ewidar_schema.', DATABASE()), 0)")),
              QStringLiteral("1"));
    TChildProcess first({QStringLiteral("script"), old});
    TChildProcess second({QStringLiteral("script"), old});
    QElapsedTimer t;
    t.start();
    const QString waiting =
        QStringLiteral("SELECT count(*) FROM information_schema.processlist WHERE state = 'User lock'");
    while (holder.Value(waiting) != QStringLiteral("2") && t.elapsed() < 30000)
        QThread::msleep(50);
    ASSERT_EQ(holder.Value(waiting), QStringLiteral("2"));
    ASSERT_EQ(holder.Exec({QStringLiteral("SELECT RELEASE_LOCK(CONCAT('ewidar_schema.', DATABASE()))")}),
              QString());
    // The old database has operators: nobody reads or writes before logging in.
    EXPECT_EQ(first.Ask(QStringLiteral("login admin Zażółć"), 60000), QStringLiteral("LOGIN 1"));
    EXPECT_EQ(second.Ask(QStringLiteral("login admin Zażółć"), 60000), QStringLiteral("LOGIN 1"));
    EXPECT_EQ(first.Ask(QStringLiteral("post-new Pierwszy"), 60000), QStringLiteral("POST 1 0"));
    EXPECT_EQ(second.Ask(QStringLiteral("post-new Drugi"), 60000), QStringLiteral("POST 1 0"));
    EXPECT_EQ(first.Ask(QStringLiteral("quit")), QStringLiteral("BYE"));
    EXPECT_EQ(second.Ask(QStringLiteral("quit")), QStringLiteral("BYE"));
    // The two new subjects aside, the database is upgraded as by one desk.
    TRaw raw(old);
    ASSERT_EQ(raw.Exec({QStringLiteral("DELETE FROM ew_record WHERE id IN (SELECT record_id FROM ew_value "
                                       "WHERE value IN ('Pierwszy', 'Drugi'))")}),
              QString());
    ExpectUpgraded(old);
}
