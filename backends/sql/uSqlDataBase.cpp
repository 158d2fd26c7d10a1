#include "uSqlDataBase.h"

#include "uSqlConnection.h"
#include "uSqlErrors.h"
#include "uSqlParams.h"
#include "uSqlRecord.h"
#include "uSqlRegistries.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int kDefaultBusyMs = 5000;
constexpr int kDefaultWatchMs = 2000;

// Checks the file before the engine touches it: a missing file is created only
// when the caller allows it, and an unwritable one is refused instead of being
// opened half-way.
void PrepareFile(const QString& Path, bool CreateIfMissing) {
    const QFileInfo fi(Path);
    if (fi.exists()) {
        if (!fi.isFile())
            Fail(SqlErrors::ecNotFound);
        if (!fi.isReadable())
            Fail(SqlErrors::ecOpen);
        if (!fi.isWritable() || !QFileInfo(fi.absolutePath()).isWritable())
            Fail(SqlErrors::ecReadOnly); // WAL needs its side files beside the database
        return;
    }
    if (!CreateIfMissing)
        Fail(SqlErrors::ecNotFound);
    const QString dir = fi.absolutePath();
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable())
        Fail(SqlErrors::ecCreateFolder);
}

int Milliseconds(const TSqlParams& P, const QString& Key, int Default) {
    bool ok = false;
    const int ms = P.Value(Key).toInt(&ok);
    return ok && ms >= 0 && ms <= 600000 ? ms : Default;
}

class TSqlDataBase final : public TInterfacedObject<IEwidarDataBase> {
public:
    explicit TSqlDataBase(QString Symbol) : m_symbol(std::move(Symbol)) { Reset(); }
    ~TSqlDataBase() override { Disconnect(); }

    int32_t GetLastErrorCode() override { return m_error; }
    std::u16string GetDataBaseID() override { return m_c->DataBaseID().toStdU16String(); }
    std::u16string GetDataBaseSymbol() override { return m_symbol.toStdU16String(); }

    bool Connect(std::u16string& ConnectorParam, bool Flag) override {
        return GuardedBool(m_error, [&] { ConnectTo(ConnectorParam, Flag); });
    }
    void Disconnect() override {
        try {
            m_c->Close();
            Reset();
        } catch (...) {
            m_error = SqlErrors::ecClose;
        }
    }
    bool StartTransaction() override {
        return GuardedBool(m_error, [&] { m_c->StartUserTransaction(); });
    }
    bool Commit() override {
        return GuardedBool(m_error, [&] { m_c->CommitUserTransaction(); });
    }
    // The backend's own parameter dialog comes with the next backend work item.
    bool EditConnectionParams(void*, std::u16string&, bool) override { return NotAvailable(false); }
    TIntfPtr<IEwidarRegistries> GetRegistries() override {
        return Guarded(m_error, TIntfPtr<IEwidarRegistries>(), [&] { return MakeRegistries(m_c); });
    }

    // User-defined fields, word dictionaries, operators and import come with the
    // next backend work item; until then they answer empty with code 1001.
    TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t) override {
        return NotAvailable(TIntfPtr<IEwidarDynamicFieldsProvider>());
    }
    TIntfPtr<IEwidarSlownikProvider> GetSlownikProvider(int32_t) override {
        return NotAvailable(TIntfPtr<IEwidarSlownikProvider>());
    }
    TIntfPtr<IUsersGroup> GetUsersGroups() override { return NotAvailable(TIntfPtr<IUsersGroup>()); }
    bool ImportFrom(IEwidarDataBase*) override { return NotAvailable(false); }
    void SetOnProgress(TProgressEvent Handler) override { m_progress = std::move(Handler); }
    TProgressEvent GetOnProgress() override { return m_progress; }

    // Without operators every connected user is logged in as an administrator.
    bool Login(const std::u16string&, const std::u16string&) override {
        return GuardedBool(m_error, [&] { m_c->Require(); });
    }
    bool IsLoggedIn() override { return true; }
    void Logout() override {}
    bool IsAdministrator() override { return true; }

private:
    void Reset() { m_c = std::make_shared<TSqlConnection>(m_symbol, MakeDialect(m_symbol)); }

    void ConnectTo(std::u16string& ConnectorParam, bool CreateIfMissing) {
        Disconnect();
        TSqlParams params = TSqlParams::Parse(QString::fromStdU16String(ConnectorParam));
        QString path = params.Value(QStringLiteral("DIR")).trimmed();
        if (path.isEmpty())
            path = DefaultDataBasePath();
        path = QFileInfo(path).absoluteFilePath();
        PrepareFile(path, CreateIfMissing);
        auto c = std::make_shared<TSqlConnection>(m_symbol, MakeDialect(m_symbol));
        c->Open(path, Milliseconds(params, QStringLiteral("TIMEOUT"), kDefaultBusyMs),
                Milliseconds(params, QStringLiteral("WATCH"), kDefaultWatchMs));
        m_c = std::move(c);
        params.SetValue(QStringLiteral("DIR"), path);
        ConnectorParam = params.ToString().toStdU16String();
    }

    template <class R> R NotAvailable(R Result) {
        m_error = SqlErrors::ecNotAvailable;
        return Result;
    }

    QString m_symbol;
    TSqlConnectionPtr m_c; // never null: an unopened connection before Connect
    TProgressEvent m_progress;
    int32_t m_error = 0;
};

} // namespace

QString DefaultDataBasePath() {
    // The generic data folder does not depend on the application's name being set.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QStringLiteral("Ewidar/ewidar.db"));
}

TIntfPtr<IEwidarDataBase> MakeSqlDataBase(const QString& Symbol) {
    if (!MakeDialect(Symbol))
        return {};
    return MakeIntf<IEwidarDataBase, TSqlDataBase>(Symbol.toUpper());
}
