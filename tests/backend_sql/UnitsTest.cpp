// Parts of the backend that the exported functions cannot reach: the Polish sort key,
// the network file system check, the connection parameter, the judgement of dead
// sessions under an injected clock, and the values written into a statement sent as text.

#include "TestSupport.h"
#include "uSqlConnection.h"
#include "uSqlDescribe.h"
#include "uSqlDialect.h"
#include "uSqlErrors.h"
#include "uSqlFileSystem.h"
#include "uSqlListCache.h"
#include "uSqlNativeRows.h"
#include "uSqlParams.h"
#include "uSqlSession.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>

TEST(SqlUnits, SortKeyGivesPolishAlphabeticalOrderInBytes) {
    // Expected order; each line is one list row's search text.
    const QStringList expected = {
        QStringLiteral("\"Ala\""), QStringLiteral("100 lat"),      QStringLiteral("Adam"),
        QStringLiteral("Ądrzej"),  QStringLiteral("Cezary"),       QStringLiteral("Czesław"),
        QStringLiteral("Ćwik"),    QStringLiteral("Émile"),        QStringLiteral("Ewa"),
        QStringLiteral("Jan"),     QStringLiteral("Jan Kowalski"), QStringLiteral("Janek"),
        QStringLiteral("Lubomir"), QStringLiteral("Łucja"),        QStringLiteral("Nowak"),
        QStringLiteral("Ńa"),      QStringLiteral("Osa"),          QStringLiteral("Ósmy"),
        QStringLiteral("Sroka"),   QStringLiteral("Śliwa"),        QStringLiteral("Zuzanna"),
        QStringLiteral("Źrebiec"), QStringLiteral("Żaneta"),       QStringLiteral("Żółw"),
        QStringLiteral("Борис"),
    };
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    // The engine compares the stored keys byte by byte (UTF-8).
    std::stable_sort(shuffled.begin(), shuffled.end(), [](const QString& a, const QString& b) {
        return SqlDescribe::SortKey(SqlDescribe::SearchText({a})).toUtf8() <
               SqlDescribe::SortKey(SqlDescribe::SearchText({b})).toUtf8();
    });
    EXPECT_EQ(shuffled, expected);
    // A shorter first line sorts before a longer one that starts the same.
    EXPECT_LT(SqlDescribe::SortKey(SqlDescribe::SearchText({QStringLiteral("Jan"), QStringLiteral("Zet")}))
                  .toUtf8(),
              SqlDescribe::SortKey(SqlDescribe::SearchText({QStringLiteral("Jana"), QStringLiteral("Aa")}))
                  .toUtf8());
}

// The lists' own decoding of the letters they hold gives what Qt's decoder gives, for
// every kind of sequence and for malformed bytes, whatever comes before and after.
TEST(SqlUnits, ListTextsDecodeAsQtDecodesThem) {
    const std::string texts[] = {
        "Kowalski",
        "Żółć gęślą jaźń",
        "\xEF\xBC\xA1la \xC5\x81\xC3\xB3" "d\xC5\xBA", // fullwidth A before two-byte letters
        "\xF0\x9D\x94\xB8 \xC5\xBC",                  // outside the basic plane, then ż
        "a\xC0\x80 overlong", "a\xC5 cut", "a\xC5\xC5 twice", "a\xE2\x82 short", "a\xFF", "ends cut \xC5",
    };
    std::u16string out = u"before|";
    QString expected = QStringLiteral("before|");
    for (const std::string& t : texts) {
        SqlNative::AppendUtf8(t, out);
        expected += QString::fromUtf8(t.data(), qsizetype(t.size())) + QLatin1Char('|');
        out += u'|';
        EXPECT_EQ(QString::fromStdU16String(out), expected) << t;
    }
}

TEST(SqlUnits, NetworkFileSystemsAreFoundByTheMountThatHoldsThePath) {
    const QString mountInfo =
        QStringLiteral("22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                       "30 22 0:40 / /mnt/nas rw,relatime shared:2 - nfs4 server:/export rw\n"
                       "31 30 8:2 / /mnt/nas/local rw - ext4 /dev/sdb1 rw\n"
                       "32 22 0:41 / /home/jan/Moje\\040dokumenty rw - cifs //srv/docs rw\n"
                       "33 22 0:42 / /home/jan/zdalny rw - fuse.sshfs jan@host: rw\n"
                       "34 22 0:43 / /run/user/1000/doc rw - fuse.portal portal rw\n"
                       "35 22 0:44 / /mnt/nas2 rw - ext4 /dev/sdc1 rw\n"
                       "36 22 0:45 / /mnt/nas2 rw - smb3 //srv/x rw\n"
                       "37 22 0:46 / /mnt/nasty rw - ext4 /dev/sdd1 rw\n"
                       "garbage line\n");
    const std::pair<const char*, const char*> cases[] = {
        {"/home/jan/ewidar.db", ""},
        {"/mnt/nas/biuro/ewidar.db", "nfs4"},
        {"/mnt/nas", "nfs4"},
        {"/mnt/nas/local/ewidar.db", ""},
        {"/home/jan/Moje dokumenty/ewidar.db", "cifs"},
        {"/home/jan/zdalny/ewidar.db", "fuse.sshfs"},
        {"/run/user/1000/doc/ewidar.db", ""},
        {"/mnt/nas2/ewidar.db", "smb3"},
        {"/mnt/nasty/ewidar.db", ""},
    };
    for (const auto& [path, type] : cases)
        EXPECT_EQ(SqlFileSystem::NetworkFileSystemIn(QString::fromUtf8(path), mountInfo),
                  QString::fromUtf8(type))
            << path;
    // This machine's temporary folder, and a file not created yet in it.
    const QString dir = TestSupport::NewTempDir(QStringLiteral("fs"));
    EXPECT_EQ(SqlFileSystem::NetworkFileSystem(dir + QStringLiteral("/new/x.db")), QString());
}

TEST(SqlUnits, ParameterValuesInQuotesKeepTheirBlanks) {
    const TSqlParams p =
        TSqlParams::Parse(QStringLiteral(" DIR=\" /a b/x.db \" ; TIMEOUT = 250 ;X=\"q\"\"x\";Y= plain ;"));
    EXPECT_EQ(p.Value(QStringLiteral("dir")), QStringLiteral(" /a b/x.db "));
    EXPECT_EQ(p.Value(QStringLiteral("TIMEOUT")), QStringLiteral("250"));
    EXPECT_EQ(p.Value(QStringLiteral("X")), QStringLiteral("q\"x"));
    EXPECT_EQ(p.Value(QStringLiteral("Y")), QStringLiteral("plain"));
    const TSqlParams again = TSqlParams::Parse(p.ToString());
    for (const char* key : {"DIR", "TIMEOUT", "X", "Y"})
        EXPECT_EQ(again.Value(QLatin1String(key)), p.Value(QLatin1String(key))) << key;
}

// Sessions of another machine are judged by their heartbeat in the database's own time;
// the clock here is injected.
class SqlSessionClock : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = TestSupport::NewTempDir(QStringLiteral("clock")) + QStringLiteral("/clock.db");
        m_c =
            std::make_shared<TSqlConnection>(QStringLiteral("SQLITE"), MakeDialect(QStringLiteral("SQLITE")));
        m_c->SetClock([this] { return m_now; });
        m_c->Open(TSqlTarget{.database = m_path, .busyMs = 300}, 0);
    }
    void TearDown() override { m_c->Close(); }

    qint64 m_now = 1000000;
    QString m_path;
    TSqlConnectionPtr m_c;
};

TEST_F(SqlSessionClock, RemoteLockExpiresExactlyAfterItsMissedHeartbeats) {
    const qint64 record =
        m_c->Insert(QStringLiteral("INSERT INTO ew_record (kind, state) VALUES (21, 0)"), {});
    m_c->Exec(
        QStringLiteral("INSERT INTO ew_session (id, host, boot_id, pid, start_ticks, heartbeat, opened_at) "
                       "VALUES (77, 'inny-komputer', 'b', 1, '1', ?, 0)"),
        {m_now});
    m_c->Exec(QStringLiteral("INSERT INTO ew_lock (record_id, session_id, locked_at) VALUES (?, 77, 0)"),
              {record});
    const auto lockCode = [&] {
        try {
            SqlSession::Lock(*m_c, record);
            return 0;
        } catch (const TSqlFailure& f) {
            return int(f.Code());
        }
    };
    m_now += SqlSession::StaleAfterSeconds - 1;
    EXPECT_EQ(lockCode(), 105);
    m_now += 1;
    EXPECT_EQ(lockCode(), 0);
    EXPECT_EQ(m_c->Scalar(QStringLiteral("SELECT count(*) FROM ew_session WHERE id = 77")).toInt(), 0);
    // This session's own heartbeat is written in the same time.
    EXPECT_EQ(m_c->Scalar(QStringLiteral("SELECT heartbeat FROM ew_session WHERE id = ?"), {m_c->SessionID()})
                  .toLongLong(),
              m_now);
}

TEST_F(SqlSessionClock, LivenessByProcessOnThisMachineAndByHeartbeatElsewhere) {
    const SqlSession::TIdentity& me = SqlSession::CurrentProcess();
    if (me.bootId.isEmpty() || me.startTicks.isEmpty())
        GTEST_SKIP() << "the platform tells no boot or process start";
    // This process: alive whatever its heartbeat; a pid that has another start time: dead.
    EXPECT_TRUE(SqlSession::IsAlive(me, 0, m_now));
    SqlSession::TIdentity reused = me;
    reused.startTicks = QStringLiteral("1");
    EXPECT_FALSE(SqlSession::IsAlive(reused, m_now, m_now));
    SqlSession::TIdentity remote{QStringLiteral("inny"), me.bootId, me.pid, me.startTicks};
    EXPECT_TRUE(SqlSession::IsAlive(remote, m_now, m_now + SqlSession::StaleAfterSeconds - 1));
    EXPECT_FALSE(SqlSession::IsAlive(remote, m_now, m_now + SqlSession::StaleAfterSeconds));
    // A clock that went back keeps a remote session alive rather than killing it.
    EXPECT_TRUE(SqlSession::IsAlive(remote, m_now, m_now - 3600));
}

TEST_F(SqlSessionClock, CommitsSurviveAPowerCut) {
    EXPECT_EQ(m_c->Scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL
    EXPECT_EQ(m_c->Scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
}

// The server dialect is refused by servers that cannot run its schema statements, before
// anything is written; the embedded engine asks nothing.
TEST(SqlUnits, OnlyMariaDbFrom105IsAcceptedAsAServer) {
    const auto server = MakeDialect(QStringLiteral("MYSQL"));
    ASSERT_TRUE(server);
    const struct {
        const char* version;
        bool accepted;
    } cases[] = {
        {"10.11.6-MariaDB-0+deb12u1", true},
        {"10.5.0-MariaDB", true},
        {"11.4.2-MariaDB-log", true},
        {"10.4.32-MariaDB", false},
        {"5.5.5-10.3.39-MariaDB", false},
        {"5.5.5-10.11.6-MariaDB", true},
        {"8.0.36", false},
        {"8.4.0-commercial", false},
        {"", false},
        {"MariaDB", false},
    };
    for (const auto& c : cases) {
        const QString why = server->RefusedVersion(QString::fromLatin1(c.version));
        EXPECT_EQ(why.isEmpty(), c.accepted) << c.version << ": " << why.toStdString();
        if (!c.accepted) {
            EXPECT_TRUE(why.contains(QStringLiteral("MariaDB 10.5"))) << why.toStdString();
        }
    }
    const auto file = MakeDialect(QStringLiteral("SQLITE"));
    EXPECT_TRUE(file->VersionQuery().isEmpty());
}

// Values written into a statement cannot leave their place in it: a text with a quote, a
// backslash, a control or a non-ASCII character goes in hexadecimal; a value of another
// kind, a text too long for a statement, or placeholders and values that do not pair up
// keep the statement prepared (empty answer). A question mark inside a quoted literal is
// no placeholder.
TEST(SqlUnits, ValuesAreWrittenIntoAStatementSoThatNoneCanEndItsLiteral) {
    const QVariant nullId(QMetaType(QMetaType::LongLong));
    struct TCase {
        const char* sql;
        QVariantList binds;
        const char* text;
    };
    const TCase cases[] = {
        {"SELECT 1", {}, "SELECT 1"},
        {"UPDATE t SET a = ?, b = ? WHERE id = ?", {qint64(-7), QStringLiteral("600 12"), 3},
         "UPDATE t SET a = -7, b = '600 12' WHERE id = 3"},
        {"INSERT INTO t VALUES (?, ?, ?, ?)", {nullId, QString(), true, QStringLiteral("#NAZWA_KOD")},
         "INSERT INTO t VALUES (NULL, '', 1, '#NAZWA_KOD')"},
        {"SELECT '?', 'it''s ?' FROM t WHERE a = ?", {5}, "SELECT '?', 'it''s ?' FROM t WHERE a = 5"},
        {"SELECT ? FROM t", {QStringLiteral("O'Brien")}, "SELECT _utf8mb4 X'4f27427269656e' COLLATE utf8mb4_bin FROM t"},
        {"SELECT ? FROM t", {QStringLiteral("a\\' OR 1=1 -- ")},
         "SELECT _utf8mb4 X'615c27204f5220313d31202d2d20' COLLATE utf8mb4_bin FROM t"},
        {"SELECT ? FROM t", {QStringLiteral("Łódź\n")}, "SELECT _utf8mb4 X'c581c3b364c5ba0a' COLLATE utf8mb4_bin FROM t"},
        {"SELECT ? FROM t", {QString(64 * 1024 + 1, u'ą')}, ""},
        {"SELECT ? FROM t", {QByteArray("x")}, ""},
        {"SELECT ? FROM t", {1.5}, ""},
        {"SELECT ?, ? FROM t", {1}, ""},
        {"SELECT ? FROM t", {1, 2}, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SqlText::WithValues(QString::fromUtf8(c.sql), c.binds), QString::fromUtf8(c.text)) << c.sql;
}

// Kept lists: one is found only at the version it was read at (and dropped when another is
// asked for), under exactly its key; past the budget the least recently used go first.
TEST(SqlUnits, KeptListsAreFoundAtTheirVersionAndTheOldestGoPastTheBudget) {
    using SqlCollections::TRows;
    SqlListCache::Clear();
    const auto rows = [](size_t Chars, char16_t Letter) {
        TRows r;
        r.lineCount = 1;
        r.ids = {1};
        r.owners = {0};
        r.faces = {SqlKinds::TFace::fPodmiot};
        r.text.assign(Chars, Letter);
        r.ends = {int32_t(Chars)};
        return r;
    };
    const auto key = [](const char* Connection, const QVariantList& Binds = {}) {
        return SqlListCache::TKey{QString::fromLatin1(Connection), QStringLiteral("SELECT"), Binds, 0, 1};
    };
    const size_t third = SqlListCache::kBudgetBytes / 3 / sizeof(char16_t);
    SqlListCache::Keep(key("a"), 7, rows(third, u'a'));
    TRows out;
    EXPECT_FALSE(SqlListCache::Find(key("b"), 7, out));
    EXPECT_FALSE(SqlListCache::Find(key("a", {QStringLiteral("now")}), 7, out));
    ASSERT_TRUE(SqlListCache::Find(key("a"), 7, out));
    EXPECT_EQ(out.text, rows(third, u'a').text);
    EXPECT_FALSE(SqlListCache::Find(key("a"), 8, out)); // a commit since: read again
    EXPECT_FALSE(SqlListCache::Find(key("a"), 7, out)); // and the old rows are gone

    SqlListCache::Keep(key("a"), 1, rows(third, u'a'));
    SqlListCache::Keep(key("b"), 1, rows(third, u'b'));
    ASSERT_TRUE(SqlListCache::Find(key("a"), 1, out)); // now the more recently used
    SqlListCache::Keep(key("c"), 1, rows(third, u'c'));
    EXPECT_TRUE(SqlListCache::Find(key("a"), 1, out));
    EXPECT_TRUE(SqlListCache::Find(key("c"), 1, out));
    EXPECT_FALSE(SqlListCache::Find(key("b"), 1, out)) << "the least recently used goes";
    SqlListCache::Keep(key("d"), 1, rows(SqlListCache::kBudgetBytes / sizeof(char16_t), u'd'));
    EXPECT_FALSE(SqlListCache::Find(key("d"), 1, out)) << "a list past the budget is not kept";
    EXPECT_TRUE(SqlListCache::Find(key("a"), 1, out)) << "nor does it push others out";
    SqlListCache::Clear();
}
