#include "BackendFixture.h"

#include "TestServer.h"
#include "TestSupport.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <stdexcept>

void BackendTest::SetUp() {
    ASSERT_TRUE(Backend().error.isEmpty()) << Backend().error.toStdString();
    m_dir = TestSupport::NewTempDir(QStringLiteral("sql"));
    m_path = m_dir + QStringLiteral("/test.db");
    if (ServerDialect()) {
        QString why;
        if (TestServer::Socket(&why).isEmpty())
            GTEST_SKIP() << "MariaDB half of the suite skipped: " << why.toStdString();
        m_path = TestServer::NewDataBase();
        ASSERT_FALSE(m_path.isEmpty()) << "could not create a test database";
    }
    m_db = Open();
    ASSERT_TRUE(m_db);
}

void BackendTest::TearDown() {
    if (m_db)
        m_db->Disconnect();
    m_db = nullptr;
}

QString BackendTest::AnotherDataBase() {
    return ServerDialect() ? TestServer::NewDataBase() : m_dir + QStringLiteral("/source.db");
}

QString BackendTest::Param(const QString& Path) {
    return DialectParam(Path) + QStringLiteral("TIMEOUT=300;");
}

TIntfPtr<IEwidarDataBase> BackendTest::Open(const QString& Path) {
    auto db = NewRoot();
    if (!db)
        return {};
    std::u16string param = U(Param(Path.isEmpty() ? m_path : Path));
    if (!db->Connect(param, true)) {
        std::u16string text, link;
        if (Backend().GetLastError)
            Backend().GetLastError(db->GetLastErrorCode(), db->GetDataBaseID(), text, link);
        ADD_FAILURE() << "Connect failed with code " << db->GetLastErrorCode() << ": " << Q(text).toStdString();
        return {};
    }
    return db;
}

void SetValue(IEwidarRecord* R, const QString& Symbol, const QString& Value) {
    auto f = R->GetDataFields()->GetDataField(U(Symbol));
    ASSERT_TRUE(f) << Symbol.toStdString();
    f->SetValue(U(Value));
}

QString Value(IEwidarRecord* R, const QString& Symbol) {
    auto f = R->GetDataFields()->GetDataField(U(Symbol));
    return f ? Q(f->GetValue()) : QStringLiteral("<no field>");
}

QStringList Lines(IEwidarRecord* R) {
    QStringList out;
    auto info = R->GetRecordInfo();
    for (int i = 0; i < info->GetCount(); ++i)
        out.append(Q(info->GetLine(i)));
    return out;
}

QStringList ListLines(IEwidarCollection* C, int Column) {
    QStringList out;
    for (int i = 0; i < C->GetCount(); ++i) {
        auto r = EwidarKinds::CollectionGetItem(C, i);
        out.append(r ? Lines(r.get()).value(Column) : QStringLiteral("<none>"));
    }
    return out;
}

TIntfPtr<IEwidarRecord> NewPodatnik(IEwidarDataBase* Db, const QString& First, const QString& Last,
                                    const QString& City) {
    auto p = Db->GetRegistries()->GetPodatnicy({})->New();
    if (!p)
        return {};
    SetValue(p.get(), cDanePodmiotuPierwszeImie.Symbol, First);
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, Last);
    if (!City.isEmpty()) {
        auto a = Supports<IPodmiot>(p)->GetAdresy()->New();
        SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, City);
        EXPECT_TRUE(a->Post()) << a->GetLastErrorCode();
    }
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    return p;
}

TIntfPtr<IEwidarRecord> NewPosted(IEwidarListCollection* C, const QString& Symbol, const QString& Value) {
    auto r = C->New();
    if (!r)
        return {};
    SetValue(r.get(), Symbol, Value);
    EXPECT_TRUE(r->Post()) << r->GetLastErrorCode();
    return r;
}

bool AddAdministrator(IEwidarDataBase* Db, const std::u16string& Login, const std::u16string& Password) {
    auto group = Db->GetUsersGroups()->AddGroup();
    group->SetName(u"Administratorzy");
    group->SetUprawnienia(31);
    if (!group->Post()) {
        ADD_FAILURE() << "group refused, code " << group->GetLastErrorCode();
        return false;
    }
    auto user = group->GetUsers()->AddUser();
    user->SetLogin(Login);
    user->SetPassword(Password);
    if (!user->Post()) {
        ADD_FAILURE() << "operator refused, code " << user->GetLastErrorCode();
        return false;
    }
    return true;
}

TIntfPtr<IEwidarRegisterChecks> RegisterChecks(const TIntfPtr<IEwidarDataBase>& Db) {
    const TIntfPtr<IEwidarRegisterChecks> store = Supports<IEwidarRegisterChecks>(Db);
    if (!store)
        throw std::runtime_error("no register checks");
    return store;
}

bool WriteFile(const QString& Path, const QByteArray& Data) {
    QFile f(Path);
    return f.open(QIODevice::WriteOnly) && f.write(Data) == Data.size();
}

QSqlDatabase AddRawConnection(const QString& Name, const QString& Path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(
        ServerDialect() ? QStringLiteral("QMYSQL") : QStringLiteral("QSQLITE"), Name);
    db.setDatabaseName(Path);
    if (ServerDialect()) {
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
    }
    return db;
}

QVariant RawScalar(const QString& Path, const QString& Sql) {
    const QString name = QUuid::createUuid().toString();
    QVariant result;
    {
        QSqlDatabase db = AddRawConnection(name, Path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(Sql) && q.next())
                result = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

TExclusiveHolder::TExclusiveHolder(const QString& Path) : m_name(QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(Path);
    if (!db.open())
        return;
    QSqlQuery q(db);
    m_holds = q.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) &&
              q.exec(QStringLiteral("BEGIN EXCLUSIVE")) &&
              q.exec(QStringLiteral("CREATE TABLE other_program (a)"));
}

TExclusiveHolder::~TExclusiveHolder() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
}
