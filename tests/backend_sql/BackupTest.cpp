// Backups and restore: a round trip gives back every record, section and field on
// either engine; a damaged, cut, foreign or newer backup and a wrong password are
// refused with their codes and change nothing; a backup taken while another process
// posts holds exactly what was committed before it; a killed backup leaves nothing
// that passes for a backup; a backup whose tables hold their columns in another order
// restores column by column; long notes go through whole; a restore into a new database
// cancelled at any step leaves it empty and working.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "RichData.h"
#include "uEwidarQuorDBSymbole.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The code and the backend's text of Db's last failure, for a failing assertion.
std::string Why(IEwidarDataBase* Db) {
    std::u16string text, link;
    Backend().GetLastError(Db->GetLastErrorCode(), Db->GetDataBaseID(), text, link);
    return std::to_string(Db->GetLastErrorCode()) + ' ' + Q(text).toStdString();
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject Manifest(IEwidarDataBase* Db, const QString& Path, const QString& Password = {}) {
    std::u16string text;
    EXPECT_TRUE(Db->ReadBackup(U(Path), U(Password), text)) << Db->GetLastErrorCode();
    return QJsonDocument::fromJson(Q(text).toUtf8()).object();
}

// A number of the container in its little-endian bytes.
template <class T> QByteArray Le(T V) {
    QByteArray out(sizeof(T), '\0');
    qToLittleEndian(V, out.data());
    return out;
}

// A plain backup whose manifest names another schema version, with a correct checksum.
QByteArray WithSchema(const QByteArray& Plain, int Schema) {
    const quint32 size = qFromLittleEndian<quint32>(Plain.constData() + 8);
    QJsonObject m = QJsonDocument::fromJson(Plain.mid(12, size)).object();
    m.insert(QStringLiteral("schema"), Schema);
    const QByteArray manifest = QJsonDocument(m).toJson(QJsonDocument::Compact);
    const QByteArray out = Plain.left(8) + Le(quint32(manifest.size())) + manifest +
                           Plain.mid(12 + size, Plain.size() - 12 - size - 32);
    return out + QCryptographicHash::hash(out.mid(8), QCryptographicHash::Sha256);
}

// A plain backup whose database went through Sql (run on it as a file in Dir), made
// whole again: the database's SHA-256 in the manifest and the closing checksum.
QByteArray Rewritten(const QByteArray& Plain, const QString& Dir, const QStringList& Sql) {
    const qsizetype size = qsizetype(qFromLittleEndian<quint32>(Plain.constData() + 8));
    QJsonObject m = QJsonDocument::fromJson(Plain.mid(12, size)).object();
    const qsizetype length = qsizetype(qFromLittleEndian<quint64>(Plain.constData() + 12 + size));
    const QString path = Dir + QStringLiteral("/umieszczona.db");
    EXPECT_TRUE(WriteFile(path, Plain.mid(20 + size, length)));
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        for (const QString& sql : Sql)
            EXPECT_TRUE(QSqlQuery(db).exec(sql)) << sql.toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray database = f.readAll();
    m.insert(QStringLiteral("sha256"),
             QString::fromLatin1(QCryptographicHash::hash(database, QCryptographicHash::Sha256).toHex()));
    const QByteArray manifest = QJsonDocument(m).toJson(QJsonDocument::Compact);
    const QByteArray out =
        Plain.left(8) + Le(quint32(manifest.size())) + manifest + Le(quint64(database.size())) + database;
    return out + QCryptographicHash::hash(out.mid(8), QCryptographicHash::Sha256);
}

class BackupTest : public BackendTest {
protected:
    QString File(const QString& Name) { return m_dir + u'/' + Name; }
    // Backs m_db up; the progress seen, checked to rise from 0 to 100.
    void TakeBackup(const QString& Path, const QString& Password = {}) {
        std::vector<int> seen;
        m_db->SetOnProgress([&](int32_t p, bool&) { seen.push_back(p); });
        ASSERT_TRUE(m_db->Backup(U(Path), U(Password))) << Why(m_db.get());
        m_db->SetOnProgress(nullptr);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), 0);
        EXPECT_EQ(seen.back(), 100);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    }
    // A new empty database of the tested engine, or a file of SQLite.
    TIntfPtr<IEwidarDataBase> Empty(const QString& Symbol = TestDialect()) {
        auto db = NewRoot(Symbol);
        const bool server = Symbol == QStringLiteral("MYSQL");
        std::u16string param =
            U((Symbol == TestDialect() ? DialectParam(AnotherDataBase())
                                       : (server ? DialectParam(AnotherDataBase())
                                                 : QStringLiteral("DIR=%1;").arg(File(QStringLiteral("plik.db"))))) +
              QStringLiteral("TIMEOUT=300;"));
        EXPECT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
        return db;
    }
    void ExpectRestored(IEwidarDataBase* Target, const QString& Path, const QStringList& Expected,
                        const QString& Password = {}) {
        ASSERT_TRUE(Target->Restore(U(Path), U(Password))) << Why(Target);
        const QStringList restored = Snapshot(Target);
        EXPECT_EQ(restored.size(), Expected.size());
        for (qsizetype i = 0; i < std::min(restored.size(), Expected.size()); ++i)
            if (restored[i] != Expected[i]) {
                ADD_FAILURE() << "first difference:\n" << restored[i].toStdString() << "\n" << Expected[i].toStdString();
                break;
            }
    }
};

} // namespace

// The backups and restores the history holds, newest first.
static QStringList BackupEvents(IEwidarDataBase* Db) {
    std::vector<THistoryEntry> entries;
    const auto history = Db->GetHistory();
    if (!history || !history->Query(THistoryFilter{}, entries))
        return {QStringLiteral("historia nieczytelna")};
    QStringList events;
    for (const THistoryEntry& e : entries)
        if (e.Event == THistoryEvent::heBackup || e.Event == THistoryEvent::heRestore)
            events.append(e.Event == THistoryEvent::heBackup ? QStringLiteral("kopia") : QStringLiteral("przywrócenie"));
    return events;
}

TEST_F(BackupTest, RestoreGivesBackEveryRecordSectionAndFieldIntoANewDatabaseAndOverTheCurrentOne) {
    FillRichSource(m_db.get(), 3);
    const QStringList expected = Snapshot(m_db.get());
    ASSERT_GT(expected.size(), 80);
    const QString plain = File(QStringLiteral("kopia.ewkopia"));
    const QString sealed = File(QStringLiteral("szyfr.ewkopia"));
    TakeBackup(plain);
    TakeBackup(sealed, QStringLiteral("zażółć gęślą"));
    // Nothing but the two backups is left in the folder.
    const QStringList left = QDir(m_dir).entryList({QStringLiteral("*.ewkopia*")}, QDir::Files, QDir::Name);
    EXPECT_EQ(left, (QStringList{QStringLiteral("kopia.ewkopia"), QStringLiteral("szyfr.ewkopia")}));
    EXPECT_EQ(BackupEvents(m_db.get()), (QStringList{QStringLiteral("kopia"), QStringLiteral("kopia")}));
    // The manifest counts what the database holds and names it.
    const QJsonObject m = Manifest(m_db.get(), plain);
    qint64 records = 0;
    for (const QJsonValue v : m.value(QStringLiteral("records")).toObject())
        records += v.toInteger();
    EXPECT_EQ(records, RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toLongLong());
    EXPECT_EQ(m.value(QStringLiteral("database_id")).toString(), Q(m_db->GetDataBaseID()));
    EXPECT_EQ(m.value(QStringLiteral("sha256")).toString().size(), 64);
    EXPECT_FALSE(ReadAll(sealed).contains("Nazwisko1")); // the encrypted file does not show the data
    // Into a new database, from the plain and from the encrypted backup.
    ExpectRestored(Empty().get(), plain, expected);
    ExpectRestored(Empty().get(), sealed, expected, QStringLiteral("zażółć gęślą"));
    // Over the current one, changed meanwhile.
    NewPodatnik(m_db.get(), QStringLiteral("Dopisany"), QStringLiteral("Później"), QStringLiteral("Opole"));
    ASSERT_NE(Snapshot(m_db.get()), expected);
    ExpectRestored(m_db.get(), plain, expected);
    // The restored database goes on working: a new record gets a fresh identifier.
    EXPECT_TRUE(NewPodatnik(m_db.get(), QStringLiteral("Jeszcze"), QStringLiteral("Jeden")));
    // Its history is the backup's with the restore chained on: the chain verifies, and the
    // entries of the two backups (written after the first one's snapshot) are gone.
    int64_t broken = -1;
    std::u16string reason;
    ASSERT_TRUE(m_db->GetHistory()->Verify(broken, reason)) << m_db->GetHistory()->GetLastErrorCode();
    EXPECT_EQ(broken, 0) << Q(reason).toStdString();
    EXPECT_EQ(BackupEvents(m_db.get()), QStringList{QStringLiteral("przywrócenie")});
}

TEST_F(BackupTest, ABackupOfEitherEngineRestoresIntoTheOther) {
    if (!ServerDialect())
        GTEST_SKIP() << "needs the private server: run under the server dialect";
    FillRichSource(m_db.get(), 2);
    const QString fromServer = File(QStringLiteral("serwer.ewkopia"));
    TakeBackup(fromServer);
    auto file = Empty(QStringLiteral("SQLITE"));
    ExpectRestored(file.get(), fromServer, Snapshot(m_db.get()));
    NewPodatnik(file.get(), QStringLiteral("Z pliku"), QStringLiteral("SQLite"), QStringLiteral("Radom"));
    const QString fromFile = File(QStringLiteral("plik.ewkopia"));
    ASSERT_TRUE(file->Backup(U(fromFile), {})) << Why(file.get());
    ExpectRestored(Empty(QStringLiteral("MYSQL")).get(), fromFile, Snapshot(file.get()));
    file->Disconnect();
}

TEST_F(BackupTest, DamagedCutForeignNewerAndWrongPasswordBackupsAreRefusedAndChangeNothing) {
    for (int i = 0; i < 5; ++i)
        NewPodatnik(m_db.get(), QStringLiteral("Imię%1").arg(i), QStringLiteral("Nazwisko%1").arg(i),
                    QStringLiteral("Kielce"));
    const QString plain = File(QStringLiteral("a.ewkopia"));
    const QString sealed = File(QStringLiteral("b.ewkopia"));
    TakeBackup(plain);
    TakeBackup(sealed, QStringLiteral("tajne"));
    NewPodatnik(m_db.get(), QStringLiteral("Po"), QStringLiteral("Kopii"));
    const QStringList before = Snapshot(m_db.get());
    const QByteArray p = ReadAll(plain);
    const QByteArray s = ReadAll(sealed);
    const auto flipped = [](QByteArray B, qsizetype At) {
        B[At] = char(B[At] ^ 0x20);
        return B;
    };
    struct TCase {
        const char* what;
        QByteArray bytes;
        const char* password;
        int code;
    };
    const std::vector<TCase> cases = {
        {"byte in the data", flipped(p, p.size() / 2), "", 1043},
        {"byte in the manifest", flipped(p, 30), "", 1043},
        {"byte in the checksum", flipped(p, p.size() - 1), "", 1043},
        {"cut short", p.left(p.size() - 100), "", 1044},
        {"cut to the header", p.left(10), "", 1044},
        {"longer", p + "x", "", 1043},
        {"not a backup", QByteArray("SQLite format 3") + QByteArray(200, '\0'), "", 1042},
        {"empty", QByteArray(), "", 1042},
        {"newer schema", WithSchema(p, 99), "", 1047},
        {"encrypted, byte in a later piece", flipped(s, s.size() - 40), "tajne", 1043},
        {"encrypted, cut short", s.left(s.size() / 2), "tajne", 1044},
        {"encrypted, wrong password", s, "jawne", 1045},
        {"encrypted, no password", s, "", 1046},
    };
    ASSERT_TRUE(m_db->Restore(U(plain), {})) << "the untouched backup restores: " << Why(m_db.get());
    NewPodatnik(m_db.get(), QStringLiteral("Po"), QStringLiteral("Kopii"));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = File(QStringLiteral("zla.ewkopia"));
        ASSERT_TRUE(WriteFile(path, c.bytes));
        std::u16string manifest;
        EXPECT_FALSE(m_db->ReadBackup(U(path), U(QString::fromUtf8(c.password)), manifest));
        EXPECT_EQ(m_db->GetLastErrorCode(), c.code) << Why(m_db.get());
        EXPECT_FALSE(m_db->Restore(U(path), U(QString::fromUtf8(c.password))));
        EXPECT_EQ(m_db->GetLastErrorCode(), c.code);
        std::u16string text, link;
        EXPECT_TRUE(Backend().GetLastError(c.code, m_db->GetDataBaseID(), text, link));
        EXPECT_FALSE(text.empty());
    }
    EXPECT_EQ(Snapshot(m_db.get()), before);
    // A cancelled restore changes nothing either, and a cancelled backup leaves no file.
    m_db->SetOnProgress([](int32_t p, bool& cancel) { cancel = p >= 60; });
    EXPECT_FALSE(m_db->Restore(U(plain), {}));
    EXPECT_EQ(m_db->GetLastErrorCode(), 1041);
    EXPECT_EQ(Snapshot(m_db.get()), before);
    EXPECT_FALSE(m_db->Backup(U(File(QStringLiteral("przerwana.ewkopia"))), {}));
    EXPECT_EQ(m_db->GetLastErrorCode(), 1041);
    EXPECT_EQ(QDir(m_dir).entryList({QStringLiteral("przerwana*")}, QDir::Files), QStringList());
}

TEST_F(BackupTest, ABackupTakenWhileAnotherProcessPostsHoldsExactlyWhatWasCommittedBeforeIt) {
    TChildProcess poster({QStringLiteral("post-many"), m_path, QStringLiteral("100000")});
    int seen = 0;
    while (seen < 10 && poster.ReadLine().startsWith(QStringLiteral("POSTED")))
        ++seen;
    ASSERT_EQ(seen, 10) << "the posting process did not start";
    const QString path = File(QStringLiteral("w-ruchu.ewkopia"));
    ASSERT_TRUE(m_db->Backup(U(path), {})) << Why(m_db.get());
    poster.KillHard();
    auto copy = Empty();
    ASSERT_TRUE(copy->Restore(U(path), {})) << Why(copy.get());
    // Every taxpayer 0..k-1 with its address, none missing and none beyond.
    auto list = copy->GetRegistries()->GetPodatnicy({});
    std::vector<int> numbers;
    for (int i = 0; i < list->GetCount(); ++i) {
        auto t = list->GetItem(i);
        numbers.push_back(Value(t.get(), cDanePodmiotuNazwisko.Symbol).section(u' ', 1).toInt());
        EXPECT_EQ(Supports<IPodmiot>(t)->GetAdresy()->GetCount(), 1);
    }
    std::sort(numbers.begin(), numbers.end());
    ASSERT_GE(numbers.size(), 10U);
    for (size_t i = 0; i < numbers.size(); ++i)
        ASSERT_EQ(numbers[i], int(i)) << "a gap in what the backup holds";
    copy->Disconnect();
}

TEST_F(BackupTest, ABackupKilledWhileWritingLeavesNothingThatPassesForABackup) {
    // Big enough for several progress steps while the file is written.
    auto t = NewPodatnik(m_db.get(), QStringLiteral("Duży"), QStringLiteral("Opis"));
    SetValue(t.get(), cUwagi.Symbol, QString(3 * 1024 * 1024, u'x'));
    ASSERT_TRUE(t->Post());
    const QString path = File(QStringLiteral("zabita.ewkopia"));
    TChildProcess child({QStringLiteral("backup"), m_path, path, QStringLiteral("55")});
    QString line;
    do
        line = child.ReadLine(60000);
    while (!line.isEmpty() && line.section(u' ', 1).toInt() < 55);
    ASSERT_FALSE(line.isEmpty()) << "the backing-up process did not reach the writing";
    ASSERT_LT(line.section(u' ', 1).toInt(), 70) << "the file was already complete";
    child.KillHard();
    EXPECT_FALSE(QFile::exists(path));
    const QStringList left = QDir(m_dir).entryList({QStringLiteral("zabita*")}, QDir::Files);
    EXPECT_FALSE(left.isEmpty()) << "the test should catch the half-written file";
    for (const QString& name : left) {
        std::u16string manifest;
        EXPECT_FALSE(m_db->ReadBackup(U(File(name)), {}, manifest)) << name.toStdString();
    }
}

TEST_F(BackupTest, ABackupWhoseColumnsStandInAnotherOrderRestoresColumnByColumn) {
    FillRichSource(m_db.get(), 2);
    const QStringList expected = Snapshot(m_db.get());
    const QString plain = File(QStringLiteral("kopia.ewkopia"));
    TakeBackup(plain);
    // The values' table made again with its columns reversed, as a database upgraded
    // over the years may hold them.
    const QString reordered = File(QStringLiteral("odwrocona.ewkopia"));
    ASSERT_TRUE(WriteFile(reordered, Rewritten(ReadAll(plain), m_dir,
                                               {QStringLiteral("CREATE TABLE ew_value_r AS SELECT field_type, caption, "
                                                               "value, symbol, record_id FROM ew_value"),
                                                QStringLiteral("DROP TABLE ew_value"),
                                                QStringLiteral("ALTER TABLE ew_value_r RENAME TO ew_value")})));
    std::u16string manifest;
    ASSERT_TRUE(m_db->ReadBackup(U(reordered), {}, manifest)) << Why(m_db.get());
    NewPodatnik(m_db.get(), QStringLiteral("Dopisany"), QStringLiteral("Później"), QStringLiteral("Opole"));
    ExpectRestored(Empty().get(), reordered, expected);
    // A file's indexes, set aside while the rows go in, are all there again after a
    // cancelled restore and after a finished one.
    const auto indexes = [&] {
        return ServerDialect() ? QString()
                               : RawScalar(m_path, QStringLiteral("SELECT group_concat(name || ':' || sql, ';') FROM "
                                                                  "(SELECT name, sql FROM sqlite_master WHERE type = "
                                                                  "'index' AND sql IS NOT NULL ORDER BY name)"))
                                     .toString();
    };
    const QString before = indexes();
    EXPECT_TRUE(ServerDialect() || before.contains(QStringLiteral("ew_value_symbol"))) << before.toStdString();
    m_db->SetOnProgress([](int32_t p, bool& cancel) { cancel = p >= 60; });
    EXPECT_FALSE(m_db->Restore(U(reordered), {}));
    m_db->SetOnProgress(nullptr);
    EXPECT_EQ(indexes(), before);
    ExpectRestored(m_db.get(), reordered, expected);
    EXPECT_EQ(indexes(), before);
}

// A server's packet limit set for the connections opened while it lives, put back after.
struct TPacketLimit {
    QString path;
    QVariant before;
    TPacketLimit(const QString& Path, int Bytes) : path(Path) {
        before = RawScalar(path, QStringLiteral("SELECT @@GLOBAL.max_allowed_packet"));
        RawScalar(path, QStringLiteral("SET GLOBAL max_allowed_packet = %1").arg(Bytes));
    }
    ~TPacketLimit() { RawScalar(path, QStringLiteral("SET GLOBAL max_allowed_packet = %1").arg(before.toLongLong())); }
};

TEST_F(BackupTest, LongNotesGoThroughABackupAndARestoreWhole) {
    // Five notes of 300,000 characters, restored into a server that takes statements of
    // 1 MB at most (the least limit in use): together they do not fit one.
    std::optional<TPacketLimit> limit;
    if (ServerDialect())
        limit.emplace(m_path, 1024 * 1024);
    for (int i = 0; i < 5; ++i) {
        auto t = NewPodatnik(m_db.get(), QStringLiteral("Długa%1").arg(i), QStringLiteral("Notatka"));
        SetValue(t.get(), cUwagi.Symbol, QString(300 * 1000, QChar(u'a' + i)));
        ASSERT_TRUE(t->Post());
    }
    const QStringList expected = Snapshot(m_db.get());
    const QString plain = File(QStringLiteral("dluga.ewkopia"));
    TakeBackup(plain);
    ExpectRestored(Empty().get(), plain, expected);
}

TEST_F(BackupTest, ARestoreIntoANewDatabaseCancelledAtAnyStepLeavesItEmptyAndWorking) {
    FillRichSource(m_db.get(), 2);
    const QStringList expected = Snapshot(m_db.get());
    const QString plain = File(QStringLiteral("kopia.ewkopia"));
    TakeBackup(plain);
    // Cancelled as the first rows go in, amid the copy, and after the counts were compared.
    for (const int at : {33, 60, 99}) {
        SCOPED_TRACE(at);
        auto target = Empty();
        const QStringList empty = Snapshot(target.get());
        target->SetOnProgress([at](int32_t p, bool& cancel) { cancel = p >= at; });
        EXPECT_FALSE(target->Restore(U(plain), {}));
        EXPECT_EQ(target->GetLastErrorCode(), 1041);
        target->SetOnProgress(nullptr);
        EXPECT_EQ(Snapshot(target.get()), empty);
        // Its tables are neither left locked nor half filled: a post goes in, then the
        // whole restore over it.
        EXPECT_TRUE(NewPodatnik(target.get(), QStringLiteral("Po"), QStringLiteral("Przerwaniu")));
        ExpectRestored(target.get(), plain, expected);
        target->Disconnect();
        if (!ServerDialect())
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(AnotherDataBase() + QLatin1String(suffix));
    }
}
