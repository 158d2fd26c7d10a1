// Connecting: the parameter, the default file, the schema, and files that must
// be refused without being changed.

#include "BackendFixture.h"
#include "TestSupport.h"
#include "uEwidarQuorDBSymbole.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

#include <unistd.h>

namespace {

int ConnectCode(const QString& Param, bool Flag = true) {
    auto db = NewRoot();
    std::u16string p = U(Param);
    if (db->Connect(p, Flag)) {
        db->Disconnect();
        return 0;
    }
    return db->GetLastErrorCode();
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

using ConnectTest = BackendTest;

TEST_F(ConnectTest, EmptyParameterCreatesTheDefaultFileAndFillsTheParameter) {
    FILE_DATABASE_ONLY();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(data.startsWith(TestSupport::TempRoot())) << data.toStdString();
    QDir(data + QStringLiteral("/Ewidar")).removeRecursively();
    auto db = NewRoot();
    std::u16string param;
    ASSERT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    const QString expected = data + QStringLiteral("/Ewidar/ewidar.db");
    EXPECT_EQ(Q(param), QStringLiteral("DIR=%1;").arg(expected));
    EXPECT_TRUE(QFile::exists(expected));
    db->Disconnect();
}

TEST_F(ConnectTest, ParameterKeepsFurtherKeysAndAcceptsQuotedPaths) {
    FILE_DATABASE_ONLY();
    const QString odd = m_dir + QStringLiteral("/a;b \"c\"/x.db");
    auto db = NewRoot();
    std::u16string param = U(QStringLiteral(" timeout = 250 ; dir=\"%1\" ; USER=jan;broken;")
                                 .arg(QString(odd).replace(QStringLiteral("\""), QStringLiteral("\"\""))));
    ASSERT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    EXPECT_TRUE(QFile::exists(odd));
    const QString filled = Q(param);
    EXPECT_TRUE(filled.contains(QStringLiteral("timeout=250;"))) << filled.toStdString();
    EXPECT_TRUE(filled.contains(QStringLiteral("USER=jan;"))) << filled.toStdString();
    // The filled parameter connects to the same file again.
    db->Disconnect();
    std::u16string again = param;
    ASSERT_TRUE(db->Connect(again, false)) << db->GetLastErrorCode();
    db->Disconnect();
}

TEST_F(ConnectTest, CreatesAVersionedSchemaInWalMode) {
    FILE_DATABASE_ONLY();
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"))
                  .toString(),
              QStringLiteral("6"));
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    // Opening again neither recreates nor duplicates anything (application, schema version,
    // database identifier, the program version that created it).
    auto second = Open();
    ASSERT_TRUE(second);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_meta")).toInt(), 4);
    second->Disconnect();
}

TEST_F(ConnectTest, DataBaseIDNamesTheFileWhateverThePathOrConnection) {
    FILE_DATABASE_ONLY();
    const QString id = Q(m_db->GetDataBaseID());
    EXPECT_FALSE(QUuid::fromString(id).isNull()) << id.toStdString();
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT value FROM ew_meta WHERE name = 'database_id'")).toString(),
        id);
    // Another connection through a path of other spelling, and a reconnection, see the same identifier.
    auto other = Open(m_dir + QStringLiteral("/./test.db"));
    ASSERT_TRUE(other);
    EXPECT_EQ(Q(other->GetDataBaseID()), id);
    other->Disconnect();
    m_db->Disconnect();
    m_db = Open();
    EXPECT_EQ(Q(m_db->GetDataBaseID()), id);
    auto second = Open(m_dir + QStringLiteral("/second.db"));
    ASSERT_TRUE(second);
    EXPECT_NE(Q(second->GetDataBaseID()), id);
    second->Disconnect();
}

TEST_F(ConnectTest, AVersion1FileIsUpgradedKeepingItsRecords) {
    // Built with SQLite's own statements; the server's upgrade is tested in SchemaTest.
    FILE_DATABASE_ONLY();
    auto stary =
        NewPodatnik(m_db.get(), QStringLiteral("Stary"), QStringLiteral("Plik"), QStringLiteral("Kalisz"));
    SetValue(stary.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-74"));
    ASSERT_TRUE(stary->Post());
    NewPodatnik(m_db.get(), QStringLiteral("Ćma"), QStringLiteral("Adam"));
    NewPodatnik(m_db.get(), QStringLiteral("Cyran"), QStringLiteral("Zenon"));
    stary = nullptr;
    m_db->Disconnect();
    // What a version 1 file holds: the same tables without what versions 2 and 3 added.
    for (const char* sql :
         {"DROP TABLE ew_user", "DROP TABLE ew_group", "DROP TABLE ew_field", "DROP TABLE ew_word",
          "DELETE FROM ew_meta WHERE name = 'database_id'", "DROP TABLE ew_change", "DROP TABLE ew_ident",
          "DROP TABLE ew_history", "DROP TABLE ew_history_head", "DROP TABLE ew_not_duplicate",
          "DROP INDEX ew_record_list", "ALTER TABLE ew_record DROP COLUMN sort_key",
          "ALTER TABLE ew_record DROP COLUMN version",
          "CREATE INDEX ew_record_list ON ew_record (kind, state, search, id, owner_id, is_podatnik, "
          "is_pracownik, is_kontrahent, line1, line2, line3)",
          "UPDATE ew_meta SET value = '1' WHERE name = 'schema_version'"})
        RawScalar(m_path, QString::fromLatin1(sql));
    ASSERT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'ew_user'"))
                  .toInt(),
              0);
    m_db = Open();
    ASSERT_TRUE(m_db);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"))
                  .toString(),
              QStringLiteral("6"));
    EXPECT_FALSE(QUuid::fromString(Q(m_db->GetDataBaseID())).isNull());
    // The upgrade gives the stored records their Polish order and their identifiers' digits.
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()),
              QStringList(
                  {QStringLiteral("Cyran Zenon"), QStringLiteral("Ćma Adam"), QStringLiteral("Stary Plik")}));
    auto nowy = Supports<IPodmiot>(Reg()->GetPodatnicy({})->New());
    EXPECT_TRUE(nowy->HasDuplicate(u"", u"5260250274", u""));
    // The new tables work at once.
    EXPECT_TRUE(m_db->IsLoggedIn());
    EXPECT_EQ(m_db->GetUsersGroups()->GetCount(), 0);
    auto fields = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(21);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->GetCount(), 0);
    EXPECT_EQ(fields->GetLastErrorCode(), 0);
}

TEST_F(ConnectTest, RefusesFilesThatAreNotItsDatabasesWithoutChangingThem) {
    FILE_DATABASE_ONLY();
    const QString text = m_dir + QStringLiteral("/notes.db");
    ASSERT_TRUE(WriteFile(text, QByteArray("Ala ma kota.\n").repeated(500)));
    const QByteArray before = ReadAll(text);
    EXPECT_EQ(ConnectCode(Param(text)), 5);
    EXPECT_EQ(ReadAll(text), before);
    EXPECT_FALSE(QFile::exists(text + QStringLiteral("-wal")));

    const QString foreign = m_dir + QStringLiteral("/foreign.db");
    RawScalar(foreign, QStringLiteral("CREATE TABLE invoices (id INTEGER PRIMARY KEY, amount REAL)"));
    EXPECT_EQ(ConnectCode(Param(foreign)), 101);
    EXPECT_EQ(RawScalar(foreign, QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt(), 1);

    m_db->Disconnect();
    RawScalar(m_path, QStringLiteral("UPDATE ew_meta SET value = '99' WHERE name = 'schema_version'"));
    EXPECT_EQ(ConnectCode(Param(m_path)), 101);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"))
                  .toString(),
              QStringLiteral("99"));
}

TEST_F(ConnectTest, MissingFileOrUncreatableFolderGiveTheirCodes) {
    FILE_DATABASE_ONLY();
    const QString missing = m_dir + QStringLiteral("/none/missing.db");
    EXPECT_EQ(ConnectCode(Param(missing), false), 14); // import source: never created
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(ConnectCode(Param(m_dir)), 14); // a folder, not a file
    EXPECT_EQ(ConnectCode(Param(QStringLiteral("/proc/ewidar-nowhere/x.db"))), 4);
}

TEST_F(ConnectTest, ReadOnlyOrBlockedFolderGivesItsCodes) {
    FILE_DATABASE_ONLY();
    m_db->Disconnect();
    // A file where the folder should be: no folder can be made, whoever runs the test.
    const QString blocker = m_dir + QStringLiteral("/zwykły plik");
    ASSERT_TRUE(WriteFile(blocker, "tekst"));
    EXPECT_EQ(ConnectCode(Param(blocker + QStringLiteral("/new.db"))), 4);
    EXPECT_EQ(ConnectCode(Param(blocker + QStringLiteral("/a/b/new.db"))), 4);
    EXPECT_EQ(ReadAll(blocker), QByteArray("tekst"));
    // File permissions restrict everybody but root.
    if (geteuid() != 0) {
        QFile::setPermissions(m_dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(ConnectCode(Param(m_path)), 200);
        EXPECT_EQ(ConnectCode(Param(m_dir + QStringLiteral("/new.db"))), 4);
        QFile::setPermissions(m_dir,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST_F(ConnectTest, DatabaseLockedByAnotherProgramGivesCode23) {
    FILE_DATABASE_ONLY();
    m_db->Disconnect();
    {
        TExclusiveHolder other(m_path);
        ASSERT_TRUE(other.Holds());
        EXPECT_EQ(ConnectCode(Param(m_path)), 23);
    }
    EXPECT_EQ(ConnectCode(Param(m_path)), 0);
}

TEST_F(ConnectTest, ObjectsOutlivingTheConnectionReportNoConnection) {
    auto list = Reg()->GetPodatnicy({});
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Nowak"));
    m_db->Disconnect();
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), 103);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetLastErrorCode(), 103);
    EXPECT_FALSE(m_db->Commit());
    EXPECT_EQ(m_db->GetLastErrorCode(), 2);
}

TEST_F(ConnectTest, UncommittedTransactionIsRolledBackWhenTheConnectionCloses) {
    ASSERT_TRUE(m_db->StartTransaction());
    EXPECT_FALSE(m_db->StartTransaction()); // no nesting
    EXPECT_EQ(m_db->GetLastErrorCode(), 7);
    NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Tymczasowa"));
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 1);
    m_db->Disconnect();
    m_db = Open();
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 0);

    ASSERT_TRUE(m_db->StartTransaction());
    NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Trwała"));
    ASSERT_TRUE(m_db->Commit());
    EXPECT_FALSE(m_db->Commit());
    EXPECT_EQ(m_db->GetLastErrorCode(), 8);
    m_db->Disconnect();
    m_db = Open();
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 1);
}

TEST_F(ConnectTest, AFailedDeletionEndsTheTransactionAndUndoesTheBatch) {
    auto zus =
        NewPosted(Reg()->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS I Oddział"));
    auto free1 = NewPodatnik(m_db.get(), QStringLiteral("A"), QStringLiteral("Pierwszy"));
    auto p = NewPodatnik(m_db.get(), QStringLiteral("B"), QStringLiteral("Drugi"));
    Supports<IPodmiot>(p)->SetDaneZUS(zus.get());
    ASSERT_TRUE(p->Post());
    ASSERT_TRUE(m_db->StartTransaction());
    EXPECT_TRUE(free1->Delete());
    EXPECT_FALSE(zus->Delete());
    EXPECT_EQ(zus->GetLastErrorCode(), 202);
    // The write lock is released at once; a later commit reports that nothing is open.
    EXPECT_FALSE(m_db->Commit());
    EXPECT_EQ(m_db->GetLastErrorCode(), 8);
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 2);
    EXPECT_EQ(Reg()->GetDaneZUSow({})->GetCount(), 1);
    auto other = Open();
    ASSERT_TRUE(other);
    EXPECT_TRUE(NewPodatnik(other.get(), QStringLiteral("C"), QStringLiteral("Trzeci")));
    other->Disconnect();
}

TEST_F(ConnectTest, ServicesOfTheRootNeedAConnection) {
    auto db = NewRoot();
    EXPECT_FALSE(db->GetDynamicFieldsProvider(0));
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(db->GetSlownikProvider(0));
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(db->GetUsersGroups());
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(db->IsLoggedIn());
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(db->IsAdministrator());
    EXPECT_FALSE(db->Login(u"admin", u""));
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    EXPECT_FALSE(db->ImportFrom(m_db.get()));
    EXPECT_EQ(db->GetLastErrorCode(), 2);
    int progress = -1;
    db->SetOnProgress([&progress](int32_t p, bool&) { progress = p; });
    bool cancel = false;
    db->GetOnProgress()(42, cancel);
    EXPECT_EQ(progress, 42);
    // A failed connection names its file (its server database), so that GetLastError can add
    // the engine's message: here a file that is no database, or a database of another program.
    QString refused = m_dir + QStringLiteral("/text.db");
    if (ServerDialect()) {
        refused = AnotherDataBase();
        RawScalar(refused, QStringLiteral("CREATE TABLE invoices (id INTEGER PRIMARY KEY, amount REAL)"));
    } else
        ASSERT_TRUE(WriteFile(refused, QByteArray("not a database").repeated(100)));
    std::u16string param = U(Param(refused));
    ASSERT_FALSE(db->Connect(param, true));
    EXPECT_EQ(Q(db->GetDataBaseID()), TestDialect() + u':' + refused);
    std::u16string message, link;
    ASSERT_TRUE(Backend().GetLastError(db->GetLastErrorCode(), db->GetDataBaseID(), message, link));
    EXPECT_TRUE(Q(message).contains(QStringLiteral("Szczegóły:"))) << Q(message).toStdString();
    EXPECT_FALSE(db->StartTransaction());
    EXPECT_EQ(db->GetLastErrorCode(), 2);
}
