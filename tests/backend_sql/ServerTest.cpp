// What only the server dialect has: its parameter keys, the password that is never
// stored, the option file, and a connection that the server drops.

#include "BackendFixture.h"
#include "TestServer.h"
#include "TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

class ServerTest : public BackendTest {
protected:
    void SetUp() override {
        if (!ServerDialect())
            GTEST_SKIP() << "the server dialect only";
        BackendTest::SetUp();
    }
    // Connects a new root object; the code (0 on success) and the parameter written back.
    std::pair<int, QString> Try(const QString& Param) {
        auto db = NewRoot();
        std::u16string p = U(Param);
        const bool ok = db->Connect(p, true);
        const int code = ok ? 0 : db->GetLastErrorCode();
        db->Disconnect();
        return {code, Q(p)};
    }
};

} // namespace

TEST_F(ServerTest, ParameterKeysAreCheckedAndAPasswordIsNeverWrittenBack) {
    const QString socket = TestServer::Socket();
    const auto [code, written] =
        Try(QStringLiteral("SOCKET=%1;USER=root;DB=%2;PASSWORD=;Extra=1;").arg(socket, m_path));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(written.contains(QStringLiteral("PASSWORD"), Qt::CaseInsensitive)) << written.toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("Extra=1;"))) << written.toStdString();
    struct TCase {
        QString param;
        int code;
    };
    const TCase cases[] = {
        {QStringLiteral("SOCKET=%1;USER=root;DB=%2;PORT=abc;").arg(socket, m_path), 13},
        {QStringLiteral("SOCKET=%1;USER=root;PORT=99999;DB=%2;").arg(socket, m_path), 13},
        {QStringLiteral("SOCKET=%1;USER=root;").arg(socket), 14},
        {QStringLiteral("SOCKET=%1;USER=root;DB=no_such_db;").arg(socket), 14},
        {QStringLiteral("SOCKET=%1/none.sock;USER=root;DB=%2;").arg(socket, m_path), 20},
        {QStringLiteral("SOCKET=%1;USER=nobody_here;DB=%2;PASSWORD=x;").arg(socket, m_path), 21},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Try(c.param).first, c.code) << c.param.toStdString();
}

TEST_F(ServerTest, TheOptionFileSuppliesWhatTheParameterLeavesOut) {
    const QString cnf = m_dir + QStringLiteral("/my.cnf");
    ASSERT_TRUE(WriteFile(cnf, QStringLiteral("[mysqld]\nuser=wrong\n[client]\nuser = root\nsocket=\"%1\"\n")
                                   .arg(TestServer::Socket())
                                   .toUtf8()));
    qputenv("EWIDAR_MY_CNF", cnf.toLocal8Bit());
    EXPECT_EQ(Try(QStringLiteral("DB=%1;").arg(m_path)).first, 0);
    // A wrong password in the file is refused with the login code, nothing asked for here.
    ASSERT_TRUE(WriteFile(cnf, QStringLiteral("[client]\nuser=root\npassword=wrong\nsocket=%1\n")
                                   .arg(TestServer::Socket())
                                   .toUtf8()));
    EXPECT_EQ(Try(QStringLiteral("DB=%1;").arg(m_path)).first, 21);
    qunsetenv("EWIDAR_MY_CNF");
}

TEST_F(ServerTest, AConnectionDroppedByTheServerGivesCode22AndConnectingAgainWorks) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Zerwany"));
    ASSERT_TRUE(p);
    // The server ends every connection of the test database's sessions, as a restart would.
    const QVariant sessions =
        RawScalar(m_path, QStringLiteral("SELECT GROUP_CONCAT(id) FROM "
                                         "information_schema.processlist WHERE db = '") +
                              m_path + u'\'');
    for (const QString& id : sessions.toString().split(u',', Qt::SkipEmptyParts))
        RawScalar(m_path, QStringLiteral("KILL ") + id);
    SetValue(p.get(), QStringLiteral("cDanePodmiotuNazwisko"), QStringLiteral("Po zerwaniu"));
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), 22);
    m_db->Disconnect();
    m_db = Open();
    ASSERT_TRUE(m_db);
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()).size(), 1);
}

// The server's dialog: its fields start from the parameter, "Test połączenia" opens a bare
// connection and says whether it works, OK writes the keys back without a password.
TEST_F(ServerTest, TheDialogTestsTheConnectionAndWritesNoPassword) {
    QWidget owner;
    QString title, before, after, typedDb;
    TestSupport::WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        auto* db = w->findChild<QLineEdit*>(QStringLiteral("edtDB"));
        auto* result = w->findChild<QLabel*>(QStringLiteral("lblError"));
        auto* test = w->findChild<QPushButton*>(QStringLiteral("btnTest"));
        ASSERT_TRUE(db && result && test);
        typedDb = db->text();
        db->setText(QStringLiteral("no_such_db"));
        test->click();
        before = result->text();
        db->setText(m_path);
        test->click();
        after = result->text();
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    std::u16string param = U(Param(m_path) + QStringLiteral("PASSWORD=tajne;"));
    ASSERT_TRUE(m_db->EditConnectionParams(&owner, param, true)) << m_db->GetLastErrorCode();
    EXPECT_EQ(title, QStringLiteral("Parametry bazy danych MySQL / MariaDB"));
    EXPECT_EQ(typedDb, m_path);
    EXPECT_TRUE(before.startsWith(QStringLiteral("Nie można się połączyć"))) << before.toStdString();
    EXPECT_EQ(after, QStringLiteral("Połączenie działa."));
    EXPECT_FALSE(Q(param).contains(QStringLiteral("tajne"))) << Q(param).toStdString();
    auto db = NewRoot();
    EXPECT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    db->Disconnect();
}

// Another connection holding the writer row past the wait: the post fails with 23, its
// transaction rolled back whole, and succeeds once the row is free.
TEST_F(ServerTest, AWriteThatWaitsTooLongFailsWithCode23AndWritesNothing) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Czekający"));
    ASSERT_TRUE(p);
    const QString name = QStringLiteral("ServerTest-holder");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setDatabaseName(m_path);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("START TRANSACTION")));
        ASSERT_TRUE(
            q.exec(QStringLiteral("SELECT value FROM ew_meta WHERE name = 'application' FOR UPDATE")));
        SetValue(p.get(), QStringLiteral("cDanePodmiotuNazwisko"), QStringLiteral("Za długo"));
        EXPECT_FALSE(p->Post());
        EXPECT_EQ(p->GetLastErrorCode(), 23);
        q.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE line1 LIKE '%Za długo%'"))
            .toInt(),
        0);
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE line1 LIKE '%Za długo%'"))
            .toInt(),
        1);
}
