#include "uSqlServerDataBase.h"

#include "uSqlConnection.h"
#include "uSqlDataBase.h"
#include "uSqlDialect.h"
#include "uSqlErrors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <memory>
#include <optional>

namespace SqlServerDataBase {

namespace {

constexpr int kMaxNameLength = 64;
// The server's own codes.
constexpr int kAccessDeniedToDataBase = 1044;
constexpr int kDataBaseExists = 1007;
constexpr int kUnknownDataBase = 1049;

std::atomic<quint64> g_links{0};

QString Quoted(const QString& Name) {
    return QStringLiteral("„%1”").arg(Name);
}

// One Qt connection of the dialog, opened at construction and removed with the object.
class TServerLink {
public:
    TServerLink(const TSqlTarget& Target, bool WithDataBase)
        : m_dialect(MakeDialect(QStringLiteral("MYSQL"))) {
        // The address of the counter tells apart two copies of this code in one process.
        m_name = QStringLiteral("QuorDataBaseSQL-dialog-%1-%2").arg(quintptr(&g_links), 0, 16).arg(++g_links);
        TSqlTarget t = Target;
        if (!WithDataBase)
            t.database.clear();
        m_db = QSqlDatabase::addDatabase(m_dialect->DriverName(), m_name);
        m_dialect->Configure(m_db, t);
        if (!m_db.open())
            m_error = m_db.lastError();
    }
    ~TServerLink() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    TServerLink(const TServerLink&) = delete;
    TServerLink& operator=(const TServerLink&) = delete;

    bool IsOpen() const { return m_db.isOpen(); }
    const TSqlDialect& Dialect() const { return *m_dialect; }
    // The last failure: the backend's code, the server's own code and its text.
    int Code() const { return m_dialect->ErrorCode(m_error, SqlErrors::ecOpen); }
    int Native() const { return m_error.nativeErrorCode().toInt(); }
    QString Text() const { return m_error.text(); }

    // Why this server cannot hold the program's database (as the backend's opening would
    // refuse it); empty when it can.
    QString RefusedServer() {
        const std::optional<QStringList> version = Column(m_dialect->VersionQuery());
        return m_dialect->RefusedVersion(version ? version->value(0) : QString());
    }

    // The first column of every row; nothing when the statement fails.
    std::optional<QStringList> Column(const QString& Sql) {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.exec(Sql)) {
            m_error = q.lastError();
            return std::nullopt;
        }
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private:
    std::unique_ptr<TSqlDialect> m_dialect;
    QString m_name;
    QSqlDatabase m_db;
    QSqlError m_error;
};

// A link to Target; a login the server refuses is tried once more with an asked password.
std::unique_ptr<TServerLink> Connect(TSqlTarget& Target, bool WithDataBase) {
    auto link = std::make_unique<TServerLink>(Target, WithDataBase);
    if (link->IsOpen() || link->Code() != SqlErrors::ecBadLogin)
        return link;
    TSqlTarget asked = Target;
    if (!AskPassword(asked))
        return link;
    link = std::make_unique<TServerLink>(asked, WithDataBase);
    if (link->IsOpen())
        Target.password = asked.password;
    return link;
}

TOutcome NoRight(const QString& Name) {
    return {false, QStringLiteral("Brak uprawnień do utworzenia bazy danych %1. Administrator serwera musi "
                                  "ją utworzyć albo nadać to prawo; niczego nie zmieniono.")
                       .arg(Quoted(Name))};
}

// Creates the missing database; empty outcome text when it now exists. Created is false
// when another connection created it first.
TOutcome CreateMissing(TServerLink& Server, const QString& Name, bool& Created) {
    // The name passed NameProblem, so it holds no backtick to end the quotes early.
    const QString sql =
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_bin").arg(Name);
    Created = Server.Column(sql).has_value();
    if (Created || Server.Native() == kDataBaseExists)
        return {true, {}};
    if (Server.Code() == SqlErrors::ecBadLogin)
        return NoRight(Name);
    return {false, QStringLiteral("Nie można utworzyć bazy danych %1: %2").arg(Quoted(Name), Server.Text())};
}

// What the database holds already: empty outcome text when it is empty.
TOutcome CheckContents(TServerLink& Db, const QString& Name) {
    const std::optional<QStringList> tables = Db.Column(Db.Dialect().ListTables());
    if (!tables)
        return {false, QStringLiteral("Nie można odczytać bazy danych %1: %2").arg(Quoted(Name), Db.Text())};
    if (tables->isEmpty())
        return {true, {}};
    const bool ours =
        tables->contains(QStringLiteral("ew_meta"), Qt::CaseInsensitive) &&
        !Db.Column(QStringLiteral("SELECT name FROM ew_meta WHERE name IN ('application', 'schema_version')"))
             .value_or(QStringList())
             .isEmpty();
    if (ours)
        return {true, QStringLiteral("Baza danych %1 jest już bazą programu Ewidar; niczego nie zmieniono.")
                          .arg(Quoted(Name))};
    return {false, QStringLiteral("Baza danych %1 zawiera tabele innego programu; niczego nie zmieniono. "
                                  "Wskaż nową albo pustą bazę.")
                       .arg(Quoted(Name))};
}

// The tables of this program, made by the backend's own opening; the session that
// opening registers is closed again at once.
TOutcome CreateTables(const TSqlTarget& Target, bool NewDataBase) {
    const QString name = Quoted(Target.database);
    try {
        TSqlConnection c(QStringLiteral("MYSQL"), MakeDialect(QStringLiteral("MYSQL")));
        c.Open(Target, 0);
        c.Close();
    } catch (const TSqlFailure& f) {
        return {false,
                QStringLiteral("Nie udało się utworzyć tabel programu w bazie %1: %2")
                    .arg(name, f.Native().isEmpty() ? QStringLiteral("kod %1").arg(f.Code()) : f.Native())};
    }
    return {true, NewDataBase ? QStringLiteral("Utworzono bazę danych %1 z tabelami programu.").arg(name)
                              : QStringLiteral("Utworzono tabele programu w pustej bazie %1.").arg(name)};
}

} // namespace

QString NameProblem(const QString& Name) {
    if (Name.trimmed().isEmpty())
        return QStringLiteral("Wpisz nazwę bazy danych.");
    if (Name.front().isSpace() || Name.back().isSpace())
        return QStringLiteral("Nazwa bazy danych nie może zaczynać się ani kończyć odstępem.");
    for (const QChar c : Name) {
        if (c == u'`' || c == u'/' || c == u'\\' || c == u'.')
            return QStringLiteral("Nazwa bazy danych nie może zawierać znaku „%1”.").arg(c);
        // Control characters (NUL among them) and characters outside the server's range of names.
        if (c.category() == QChar::Other_Control || c.isSurrogate() || c.isNonCharacter())
            return QStringLiteral("Nazwa bazy danych zawiera niedozwolony znak.");
    }
    if (Name.size() > kMaxNameLength)
        return QStringLiteral("Nazwa bazy danych może mieć najwyżej %1 znaki.").arg(kMaxNameLength);
    return {};
}

QString Probe(TSqlTarget& Target) {
    const auto link = Connect(Target, !Target.database.isEmpty());
    return link->IsOpen() ? link->RefusedServer() : link->Text();
}

TOutcome Create(TSqlTarget& Target) {
    const QString name = Target.database;
    if (const QString problem = NameProblem(name); !problem.isEmpty())
        return {false, problem};
    bool created = false;
    {
        const auto server = Connect(Target, false);
        if (!server->IsOpen())
            return {false, QStringLiteral("Nie można się połączyć z serwerem: ") + server->Text()};
        if (const QString refused = server->RefusedServer(); !refused.isEmpty())
            return {false, refused + QStringLiteral(" Niczego nie zmieniono.")};
        // Whether the database exists the server itself tells, by its own rules of names.
        auto db = std::make_unique<TServerLink>(Target, true);
        if (!db->IsOpen() && db->Native() == kUnknownDataBase) {
            if (TOutcome made = CreateMissing(*server, name, created); !made.text.isEmpty())
                return made;
            db = std::make_unique<TServerLink>(Target, true);
        }
        if (!db->IsOpen())
            return db->Native() == kAccessDeniedToDataBase
                       ? NoRight(name)
                       : TOutcome{false, QStringLiteral("Nie można się połączyć z bazą danych %1: %2")
                                             .arg(Quoted(name), db->Text())};
        if (TOutcome found = CheckContents(*db, name); !found.text.isEmpty())
            return found;
    }
    return CreateTables(Target, created);
}

} // namespace SqlServerDataBase
