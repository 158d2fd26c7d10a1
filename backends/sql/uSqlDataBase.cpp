#include "uSqlDataBase.h"

#include "uPrivateFiles.h"
#include "uSqlAccess.h"
#include "uSqlChecks.h"
#include "uSqlBackup.h"
#include "uSqlConnection.h"
#include "uSqlConnectionDialog.h"
#include "uSqlDynamicFields.h"
#include "uSqlErrors.h"
#include "uSqlFileSystem.h"
#include "uSqlDuplicates.h"
#include "uSqlHistory.h"
#include "uSqlHistoryReader.h"
#include "uSqlImport.h"
#include "uSqlMerge.h"
#include "uSqlOperatorStore.h"
#include "uSqlOperators.h"
#include "uSqlParams.h"
#include "uSqlRegistries.h"
#include "uSqlSlownik.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr int kDefaultBusyMs = 5000;
constexpr int kDefaultWatchMs = 2000;
constexpr int kDefaultHeartbeatMs = 60 * 1000;

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
    if (!PrivateFiles::MakeFolder(dir) || !QFileInfo(dir).isWritable())
        Fail(SqlErrors::ecCreateFolder);
}

int Milliseconds(const TSqlParams& P, const QString& Key, int Default) {
    bool ok = false;
    const int ms = P.Value(Key).toInt(&ok);
    return ok && ms >= 0 && ms <= 600000 ? ms : Default;
}

class TSqlDataBase final : public TInterfacedObject<IEwidarDataBase, IEwidarRegisterChecks> {
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
        m_c->SetOperator(0);
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
    // Flag allows naming a new file, as for Connect. Cancelling is no error.
    bool EditConnectionParams(void* ParentWindow, std::u16string& ConnectorParam, bool Flag) override;
    TIntfPtr<IEwidarRegistries> GetRegistries() override {
        return Guarded(m_error, TIntfPtr<IEwidarRegistries>(), [&] { return MakeRegistries(m_c); });
    }

    TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t) override {
        return Guarded(m_error, TIntfPtr<IEwidarDynamicFieldsProvider>(), [&] {
            m_c->Require();
            return MakeDynamicFieldsProvider(m_c);
        });
    }
    TIntfPtr<IEwidarSlownikProvider> GetSlownikProvider(int32_t) override {
        return Guarded(m_error, TIntfPtr<IEwidarSlownikProvider>(), [&] {
            m_c->Require();
            return MakeSlownikProvider(m_c);
        });
    }
    TIntfPtr<IEwidarHistory> GetHistory() override {
        return Guarded(m_error, TIntfPtr<IEwidarHistory>(), [&] { return MakeHistory(m_c); });
    }
    TIntfPtr<IUsersGroup> GetUsersGroups() override {
        return Guarded(m_error, TIntfPtr<IUsersGroup>(), [&] {
            m_c->Require();
            return MakeUsersGroups(m_c);
        });
    }
    bool ImportFrom(IEwidarDataBase* Source) override;
    void SetOnProgress(TProgressEvent Handler) override { m_progress = std::move(Handler); }
    TProgressEvent GetOnProgress() override { return m_progress; }

    // A failed login leaves nobody logged in.
    // Both are recorded in the history; a refused one with the login typed.
    bool Login(const std::u16string& Login, const std::u16string& Password) override {
        m_c->SetOperator(0);
        return GuardedBool(m_error, [&] {
            const QString login = QString::fromStdU16String(Login);
            qint64 id = 0;
            try {
                id = SqlOperatorStore::CheckLogin(*m_c, login, QString::fromStdU16String(Password));
            } catch (const TSqlFailure& f) {
                if (f.Code() == SqlErrors::ecBadLogin)
                    NoteQuietly(THistoryEvent::heLoginFailed, login);
                throw;
            }
            m_c->SetOperator(id);
            try {
                SqlHistory::Append(*m_c, SqlHistory::TEntry{THistoryEvent::heLogin, 0, 0, 0, {}, {}});
            } catch (...) {
                m_c->SetOperator(0); // a login that cannot be recorded does not happen
                throw;
            }
        });
    }
    // A database without operators needs no login; a logged-in operator who was
    // deleted meanwhile is logged in no more.
    bool IsLoggedIn() override {
        return Guarded(m_error, false,
                       [&] { return NoOperators() || SqlOperatorStore::UserRights(*m_c, m_c->Operator()); });
    }
    void Logout() override {
        m_error = 0;
        if (m_c->Operator() != 0)
            NoteQuietly(THistoryEvent::heLogout, {});
        m_c->SetOperator(0);
    }
    // Rights are read at every call, so a change of the operator's group applies at once.
    bool IsAdministrator() override {
        return Guarded(m_error, false, [&] {
            try {
                SqlAccess::Demand(*m_c, SqlAccess::rtOperators);
                return true;
            } catch (const TSqlFailure& f) {
                if (!SqlErrors::IsAccessCode(f.Code()))
                    throw;
                return false;
            }
        });
    }

    bool AddRegisterCheck(TRegisterCheck& Check) override {
        return GuardedBool(m_error, [&] {
            m_c->Require();
            SqlChecks::Add(*m_c, Check);
        });
    }
    bool GetRegisterChecks(int32_t SubjectID, const std::u16string& Identifier,
                           std::vector<TRegisterCheck>& Checks) override {
        Checks.clear();
        return GuardedBool(m_error, [&] {
            m_c->Require();
            Checks = SqlChecks::Find(*m_c, SubjectID, QString::fromStdU16String(Identifier));
        });
    }
    bool Backup(const std::u16string& Path, const std::u16string& Password) override {
        // Copies first: a backup may run on another thread while this object goes on.
        const TSqlConnectionPtr c = m_c;
        const TProgressEvent progress = m_progress;
        return BackupReported(SqlErrors::ecBackupFailed, [&] {
            c->Require();
            SqlBackup::Backup(m_symbol, TSqlTarget(c->Target()), c->Operator(), QString::fromStdU16String(Path),
                              QString::fromStdU16String(Password), progress);
        });
    }
    bool ReadBackup(const std::u16string& Path, const std::u16string& Password, std::u16string& Manifest) override {
        return BackupReported(SqlErrors::ecBackupDamaged, [&] {
            Manifest = SqlBackup::Inspect(QString::fromStdU16String(Path), QString::fromStdU16String(Password),
                                          m_progress)
                           .toStdU16String();
        });
    }
    bool Restore(const std::u16string& Path, const std::u16string& Password) override {
        return BackupReported(SqlErrors::ecRestoreFailed, [&] {
            SqlBackup::Restore(*m_c, QString::fromStdU16String(Path), QString::fromStdU16String(Password),
                               m_progress);
        });
    }

    TIntfPtr<IDuplicatePairs> FindDuplicates() override {
        return Guarded(m_error, TIntfPtr<IDuplicatePairs>(), [&] { return SqlDuplicates::Find(m_c); });
    }
    bool MarkNotDuplicate(int32_t FirstID, int32_t SecondID) override {
        return GuardedBool(m_error, [&] { SqlDuplicates::MarkNotDuplicate(*m_c, FirstID, SecondID); });
    }
    bool MergeRecords(int32_t KeepID, int32_t DropID, const std::vector<TMergeValue>& Values) override;

private:
    // A refused login and a logout are recorded when the database lets it; their outcome
    // never depends on it (a refused login stays refused, a logout always happens).
    void NoteQuietly(THistoryEvent Event, const QString& Login) {
        try {
            SqlHistory::TEntry e{Event, 0, 0, 0, {}, {}};
            if (!Login.isEmpty())
                e.changes.append(SqlHistory::TChange{QStringLiteral("LOGIN"), QStringLiteral("Login"), {}, Login});
            SqlHistory::Append(*m_c, e);
        } catch (...) {
        }
    }

    void Reset() { m_c = std::make_shared<TSqlConnection>(m_symbol, MakeDialect(m_symbol)); }
    template <class F, class K> bool Reported(int32_t Fallback, K&& Keep, F&& Body);
    // A backup's own codes (a refused file, a cancel), no connection and a missing right
    // are reported as they are; anything else as Fallback.
    template <class F> bool BackupReported(int32_t Fallback, F&& Body) {
        return Reported(
            Fallback,
            [](int32_t code) {
                return (code >= SqlErrors::ecBackupFailed && code <= SqlErrors::ecRestoreFailed) ||
                       code == SqlErrors::ecNoConnection || code == SqlErrors::ecNoLink ||
                       SqlErrors::IsAccessCode(code);
            },
            std::forward<F>(Body));
    }

    bool NoOperators() {
        m_c->Require();
        return SqlOperatorStore::OperatorCount(*m_c) == 0;
    }

    void ConnectTo(std::u16string& ConnectorParam, bool CreateIfMissing) {
        Disconnect();
        TSqlParams params = TSqlParams::Parse(QString::fromStdU16String(ConnectorParam));
        TSqlTarget target;
        target.busyMs = Milliseconds(params, QStringLiteral("TIMEOUT"), kDefaultBusyMs);
        if (MakeDialect(m_symbol)->ServerLiveness())
            ServerTarget(params, target);
        else
            FileTarget(params, target, CreateIfMissing);
        // Kept even when opening fails: it reports "no connection" and names the
        // database, under which GetLastError finds the engine's message.
        m_c = std::make_shared<TSqlConnection>(m_symbol, MakeDialect(m_symbol));
        // At least twice within the time after which other desks judge a session dead.
        const int beat = Milliseconds(params, QStringLiteral("HEARTBEAT"), kDefaultHeartbeatMs);
        m_c->SetHeartbeatMs(beat >= 1000 && beat <= 150000 ? beat : kDefaultHeartbeatMs);
        const int watch = Milliseconds(params, QStringLiteral("WATCH"), kDefaultWatchMs);
        try {
            m_c->Open(target, watch);
        } catch (const TSqlFailure& f) {
            // A server that refused the password from the option file: asked once.
            if (f.Code() != SqlErrors::ecBadLogin || !AskPassword(target))
                throw;
            m_c = std::make_shared<TSqlConnection>(m_symbol, MakeDialect(m_symbol));
            m_c->SetHeartbeatMs(beat >= 1000 && beat <= 150000 ? beat : kDefaultHeartbeatMs);
            m_c->Open(target, watch);
        }
        ConnectorParam = params.ToString().toStdU16String();
    }

    void FileTarget(TSqlParams& Params, TSqlTarget& Target, bool CreateIfMissing) {
        QString path = Params.Value(QStringLiteral("DIR")); // quoted blanks belong to the path
        if (path.isEmpty())
            path = DefaultDataBasePath();
        path = QFileInfo(path).absoluteFilePath();
        // Refused before anything touches the file, so that nothing is written to it.
        if (const QString fs = SqlFileSystem::NetworkFileSystem(path); !fs.isEmpty())
            Fail(SqlErrors::ecNetworkFile, QStringLiteral("system plików %1: %2").arg(fs, path));
        PrepareFile(path, CreateIfMissing);
        Target.database = path;
        Params.SetValue(QStringLiteral("DIR"), path);
    }

    // HOST, PORT, SOCKET, DB and USER; a password comes from the option file or is
    // asked for, and a PASSWORD typed into the parameter is used once and dropped.
    void ServerTarget(TSqlParams& Params, TSqlTarget& Target) {
        Target.host = Params.Value(QStringLiteral("HOST")).trimmed();
        Target.socket = Params.Value(QStringLiteral("SOCKET")).trimmed();
        Target.user = Params.Value(QStringLiteral("USER")).trimmed();
        Target.database = Params.Value(QStringLiteral("DB")).trimmed();
        Target.password = Params.Value(QStringLiteral("PASSWORD"));
        Params.Remove(QStringLiteral("PASSWORD"));
        if (const QString port = Params.Value(QStringLiteral("PORT")).trimmed(); !port.isEmpty()) {
            bool ok = false;
            Target.port = port.toInt(&ok);
            if (!ok || Target.port <= 0 || Target.port > 65535)
                Fail(SqlErrors::ecPortNotNumber, port);
        }
        if (Target.database.isEmpty())
            Fail(SqlErrors::ecNotFound, QStringLiteral("brak nazwy bazy danych (DB)"));
    }

    QString m_symbol;
    TSqlConnectionPtr m_c; // never null: an unopened connection before Connect
    TProgressEvent m_progress;
    int32_t m_error = 0;
};

bool TSqlDataBase::EditConnectionParams(void* ParentWindow, std::u16string& ConnectorParam, bool Flag) {
    return Guarded(m_error, false, [&] {
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app || QThread::currentThread() != app->thread())
            Fail(SqlErrors::ecNoWindow);
        QString param = QString::fromStdU16String(ConnectorParam);
        auto* parent = static_cast<QWidget*>(ParentWindow);
        const bool server = MakeDialect(m_symbol)->ServerLiveness();
        if (!(server ? SqlConnectionDialog::EditServer(parent, param)
                     : SqlConnectionDialog::Edit(parent, param, Flag)))
            return false;
        ConnectorParam = param.toStdU16String();
        return true;
    });
}

// Runs an operation of one transaction: a code that Keep accepts is reported as it is, any
// other failure as Fallback with its cause kept for GetLastError. Nothing was written.
template <class F, class K> bool TSqlDataBase::Reported(int32_t Fallback, K&& Keep, F&& Body) {
    m_error = 0;
    try {
        Body();
        return true;
    } catch (const TSqlFailure& f) {
        const int32_t code = f.Code();
        m_error = Keep(code) ? code : Fallback;
        const QString cause =
            f.Native().isEmpty() && code != m_error ? QStringLiteral("kod %1").arg(code) : f.Native();
        SqlErrors::NoteFailure(m_error, cause, m_c->DataBaseID());
    } catch (...) {
        m_error = Fallback;
        SqlErrors::NoteFailure(m_error, {}, m_c->DataBaseID());
    }
    return false;
}

// Any failure is an import failure (203) unless the operator cancelled (204), this
// database is not connected (2, 103) or the rights refuse it.
bool TSqlDataBase::ImportFrom(IEwidarDataBase* Source) {
    return Reported(
        SqlErrors::ecImport,
        [](int32_t code) {
            return code == SqlErrors::ecImportCancelled || code == SqlErrors::ecNoConnection ||
                   code == SqlErrors::ecNoLink || SqlErrors::IsAccessCode(code);
        },
        [&] {
            // A database of this backend is read table by table rather than record by record.
            const auto* same = dynamic_cast<const TSqlDataBase*>(Source);
            SqlImport::Run(m_c, Source, m_progress, same ? same->m_c : nullptr);
        });
}

// A refusal, a lock of another desk or a lost connection keeps its own code; any other
// failure is a merge failure (205).
bool TSqlDataBase::MergeRecords(int32_t KeepID, int32_t DropID, const std::vector<TMergeValue>& Values) {
    SqlMerge::TValues values;
    for (const auto& [symbol, value] : Values)
        values.append({QString::fromStdU16String(symbol), QString::fromStdU16String(value)});
    return Reported(
        SqlErrors::ecMerge,
        [](int32_t code) {
            return code == SqlErrors::ecRecordLocked || code == SqlErrors::ecRecordDeleted ||
                   code == SqlErrors::ecNoConnection || code == SqlErrors::ecNoLink ||
                   code == SqlErrors::ecNoPrimaryKey || code == SqlErrors::ecSessionLost ||
                   code == SqlErrors::ecFileLocked || code == SqlErrors::ecMySqlLost ||
                   (code >= SqlErrors::ecMergeKinds && code <= SqlErrors::ecMergeOwnRelation) ||
                   SqlErrors::IsAccessCode(code);
        },
        [&] { SqlMerge::Merge(*m_c, KeepID, DropID, values); });
}

} // namespace

bool AskPassword(TSqlTarget& Target) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread() || !qEnvironmentVariableIsEmpty("EWIDAR_NO_ASK"))
        return false;
    bool ok = false;
    const QString password = QInputDialog::getText(
        QApplication::activeWindow(), QStringLiteral("Hasło do bazy danych"),
        QStringLiteral("Hasło użytkownika %1 bazy %2:").arg(Target.user, Target.database),
        QLineEdit::Password, QString(), &ok);
    if (!ok)
        return false;
    Target.password = password;
    return true;
}

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
