#include "SubjectGenerator.h"

#include "BackendLoader.h"
#include "uEwidarQuorDBSymbole.h"
#include "uSqlDescribe.h"
#include "uSqlDuplicates.h"
#include "uSqlKinds.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include <sqlite3.h>

#include <array>
#include <cstdio>

namespace SubjectGenerator {

namespace {

const std::array<const char*, 12> kFirst = {"Jan",       "Anna",       "Piotr",  "Maria",
                                            "Krzysztof", "Katarzyna",  "Tomasz", "Agnieszka",
                                            "Paweł",     "Małgorzata", "Łukasz", "Żaneta"};
const std::array<const char*, 16> kLast = {
    "Nowak",     "Kowalski", "Wiśniewski", "Wójcik",    "Kowalczyk", "Kamiński", "Lewandowski", "Zieliński",
    "Szymański", "Woźniak",  "Dąbrowski",  "Kozłowski", "Jankowski", "Mazur",    "Kwiatkowski", "Krawczyk"};
const std::array<const char*, 10> kCity = {"Warszawa", "Kraków",   "Łódź",      "Wrocław", "Poznań",
                                           "Gdańsk",   "Szczecin", "Bydgoszcz", "Lublin",  "Białystok"};

// Where the generated rows go; Record answers the new record's identifier, 0 on failure.
class TSink {
public:
    virtual ~TSink() = default;
    virtual qint64 Record(int Kind, qint64 Owner, int Role, const QStringList& Lines, const QString& Search,
                          const QString& SortKey) = 0;
    virtual bool Value(qint64 ID, const QString& Symbol, const QString& Value) = 0;
    virtual bool Ident(qint64 ID, const QString& Symbol, const QString& Digits) = 0;
    virtual bool Person(qint64 Podatnik, int Role, qint64 Osoba, bool Aktywny) = 0;
};

void Text(sqlite3_stmt* s, int i, const QString& v) {
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(s, i, u.constData(), u.size(), SQLITE_TRANSIENT);
}

// A file, through prepared statements of the SQLite C API.
class TFileSink : public TSink {
public:
    ~TFileSink() override {
        for (sqlite3_stmt* s : {m_record, m_value, m_ident, m_person})
            sqlite3_finalize(s);
        sqlite3_close(m_db);
    }
    bool Open(const QString& Path) {
        if (sqlite3_open(Path.toUtf8().constData(), &m_db) != SQLITE_OK)
            return false;
        sqlite3_exec(m_db, "PRAGMA foreign_keys = ON; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        return Prepare(
                   "INSERT INTO ew_record (kind, owner_id, state, is_podatnik, is_pracownik, is_kontrahent, "
                   "line1, line2, line3, search, sort_key) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?)",
                   m_record) &&
               Prepare("INSERT INTO ew_value (record_id, symbol, value) VALUES (?, ?, ?)", m_value) &&
               Prepare("INSERT INTO ew_ident (record_id, symbol, digits) VALUES (?, ?, ?)", m_ident) &&
               Prepare("INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) VALUES (?, ?, ?, ?)",
                       m_person);
    }
    bool Commit() { return sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK; }
    QString Error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

    qint64 Record(int Kind, qint64 Owner, int Role, const QStringList& Lines, const QString& Search,
                  const QString& SortKey) override {
        sqlite3_stmt* s = m_record;
        sqlite3_reset(s);
        sqlite3_bind_int(s, 1, Kind);
        if (Owner)
            sqlite3_bind_int64(s, 2, Owner);
        else
            sqlite3_bind_null(s, 2);
        for (int r = 0; r < 3; ++r)
            sqlite3_bind_int(s, 3 + r, Role == r + 1 ? 1 : 0);
        for (int l = 0; l < 3; ++l)
            Text(s, 6 + l, Lines.value(l));
        Text(s, 9, Search);
        Text(s, 10, SortKey);
        return sqlite3_step(s) == SQLITE_DONE ? sqlite3_last_insert_rowid(m_db) : 0;
    }
    bool Value(qint64 ID, const QString& Symbol, const QString& Value) override {
        return Triple(m_value, ID, Symbol, Value);
    }
    bool Ident(qint64 ID, const QString& Symbol, const QString& Digits) override {
        return Triple(m_ident, ID, Symbol, Digits);
    }
    bool Person(qint64 Podatnik, int Role, qint64 Osoba, bool Aktywny) override {
        sqlite3_reset(m_person);
        sqlite3_bind_int64(m_person, 1, Podatnik);
        sqlite3_bind_int(m_person, 2, Role);
        sqlite3_bind_int64(m_person, 3, Osoba);
        sqlite3_bind_int(m_person, 4, Aktywny ? 1 : 0);
        return sqlite3_step(m_person) == SQLITE_DONE;
    }

private:
    bool Prepare(const char* Sql, sqlite3_stmt*& S) {
        return sqlite3_prepare_v2(m_db, Sql, -1, &S, nullptr) == SQLITE_OK;
    }
    static bool Triple(sqlite3_stmt* S, qint64 ID, const QString& A, const QString& B) {
        sqlite3_reset(S);
        sqlite3_bind_int64(S, 1, ID);
        Text(S, 2, A);
        Text(S, 3, B);
        return sqlite3_step(S) == SQLITE_DONE;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_record = nullptr;
    sqlite3_stmt* m_value = nullptr;
    sqlite3_stmt* m_ident = nullptr;
    sqlite3_stmt* m_person = nullptr;
};

// A server database, through Qt's MySQL driver: identifiers are given here (the
// database is empty) so that rows can be sent a thousand to a statement; one round
// trip per row would make a fill of 100,000 subjects take many minutes.
class TServerSink : public TSink {
public:
    explicit TServerSink(QSqlDatabase Db) : m_db(std::move(Db)) {}

    bool Begin() {
        QSqlQuery q(m_db);
        // Keys and references are the generator's own, consistent by construction.
        if (!q.exec(QStringLiteral("SET SESSION foreign_key_checks = 0, unique_checks = 0")) ||
            !q.exec(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM ew_record")) || !q.next())
            return Fail(q);
        m_next = q.value(0).toLongLong() + 1;
        return m_db.transaction() || Fail(m_db.lastError().text());
    }
    bool Commit() {
        if (!Flush())
            return false;
        return m_db.commit() || Fail(m_db.lastError().text());
    }
    QString Error() const { return m_error; }

    qint64 Record(int Kind, qint64 Owner, int Role, const QStringList& Lines, const QString& Search,
                  const QString& SortKey) override {
        const qint64 id = m_next++;
        QString row = QStringLiteral("(%1,%2,%3,0")
                          .arg(id)
                          .arg(Kind)
                          .arg(Owner ? QString::number(Owner) : QStringLiteral("NULL"));
        for (int r = 0; r < 3; ++r)
            row += Role == r + 1 ? QStringLiteral(",1") : QStringLiteral(",0");
        for (int l = 0; l < 3; ++l)
            row += u',' + Literal(Lines.value(l));
        row += u',' + Literal(Search) + u',' + Literal(SortKey) + u')';
        return Add(m_records, row) ? id : 0;
    }
    bool Value(qint64 ID, const QString& Symbol, const QString& Value) override {
        return Add(m_values, QStringLiteral("(%1,%2,%3)").arg(ID).arg(Literal(Symbol), Literal(Value)));
    }
    bool Ident(qint64 ID, const QString& Symbol, const QString& Digits) override {
        return Add(m_idents, QStringLiteral("(%1,%2,%3)").arg(ID).arg(Literal(Symbol), Literal(Digits)));
    }
    bool Person(qint64 Podatnik, int Role, qint64 Osoba, bool Aktywny) override {
        return Add(m_persons,
                   QStringLiteral("(%1,%2,%3,%4)").arg(Podatnik).arg(Role).arg(Osoba).arg(Aktywny ? 1 : 0));
    }

private:
    struct TBatch {
        QString head;
        QStringList rows;
    };
    static constexpr int kRowsPerStatement = 1000;

    QString Literal(const QString& V) const {
        QSqlField f(QString(), QMetaType(QMetaType::QString));
        f.setValue(V);
        return m_db.driver()->formatValue(f); // the driver's own escaping
    }
    bool Add(TBatch& B, const QString& Row) {
        B.rows << Row;
        return B.rows.size() < kRowsPerStatement || Flush();
    }
    // Records first: every other table refers to them.
    bool Flush() {
        for (TBatch* b : {&m_records, &m_values, &m_idents, &m_persons}) {
            if (b->rows.isEmpty())
                continue;
            QSqlQuery q(m_db);
            if (!q.exec(b->head + b->rows.join(u',')))
                return Fail(q);
            b->rows.clear();
        }
        return true;
    }
    bool Fail(const QSqlQuery& Q) { return Fail(Q.lastError().text()); }
    bool Fail(const QString& Text) {
        m_error = Text;
        return false;
    }

    QSqlDatabase m_db;
    qint64 m_next = 1;
    QString m_error;
    TBatch m_records{
        QStringLiteral("INSERT INTO ew_record (id, kind, owner_id, state, is_podatnik, is_pracownik, "
                       "is_kontrahent, line1, line2, line3, search, sort_key) VALUES "),
        {}};
    TBatch m_values{QStringLiteral("INSERT INTO ew_value (record_id, symbol, value) VALUES "), {}};
    TBatch m_idents{QStringLiteral("INSERT INTO ew_ident (record_id, symbol, digits) VALUES "), {}};
    TBatch m_persons{QStringLiteral("INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) VALUES "),
                     {}};
};

qint64 InsertRecord(TSink& S, int Kind, qint64 Owner, int Role, const QStringList& Lines) {
    const QString search = SqlDescribe::SearchText(Lines);
    return S.Record(Kind, Owner, Role, Lines, search, SqlDescribe::SortKey(search));
}

bool InsertValues(TSink& S, qint64 ID, const QHash<QString, QString>& Values) {
    for (auto it = Values.begin(); it != Values.end(); ++it) {
        if (!S.Value(ID, it.key(), it.value()))
            return false;
        // The digits of an identifier, as the backend keeps them for its duplicate check.
        if (it.key() == cDanePodmiotuNIP.Symbol && !S.Ident(ID, it.key(), SqlDescribe::Digits(it.value())))
            return false;
    }
    return true;
}

// One subject with its address; role 1 taxpayer, 2 employee, 3 contractor of Taxpayer.
bool InsertSubject(TSink& S, int i, int role, qint64 taxpayer, qint64& id) {
    const QString city = QString::fromUtf8(kCity[(i * 7) % kCity.size()]);
    QHash<QString, QString> v;
    v.insert(cDanePodmiotuPierwszeImie.Symbol, QString::fromUtf8(kFirst[(i * 5) % kFirst.size()]));
    v.insert(cDanePodmiotuNazwisko.Symbol, QString::fromUtf8(kLast[(i / 3) % kLast.size()]));
    // Every 500th subject repeats its predecessor's NIP: a duplicate for the search to find.
    const int nip = i % 500 == 499 ? i - 1 : i;
    v.insert(cDanePodmiotuNIP.Symbol, QStringLiteral("%1").arg(1000000000LL + nip * 7919LL % 8999999999LL));
    v.insert(cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, QStringLiteral("0"));
    SqlDescribe::TSource src;
    src.own = [&v](const QString& s) {
        return v.value(s);
    };
    src.linked = [](int, const QString&) {
        return QString();
    };
    src.firstSection = [&city](int, const QString&) {
        return city;
    };
    const QStringList lines = SqlDescribe::Lines(SqlKinds::kPodmiot, src);
    id = InsertRecord(S, SqlKinds::kPodmiot, 0, role, lines);
    if (!id || !InsertValues(S, id, v))
        return false;
    // Postal codes repeat with another period than the names, so equal name and code are rare.
    const QString postal = QStringLiteral("%1-%2").arg(10 + i % 89).arg(i % 997, 3, 10, QLatin1Char('0'));
    if (!S.Ident(id, SqlDuplicates::kNameSymbol,
                 SqlDescribe::Digits(postal) + u' ' + SqlDuplicates::FoldName(lines.value(0))))
        return false;
    QHash<QString, QString> a{{cDaneAdresoweMiejscowosc.Symbol, city},
                              {cDaneAdresoweUlica.Symbol, QStringLiteral("Polna %1").arg(i % 200)},
                              {cDaneAdresoweKodPocztowy.Symbol, postal}};
    const qint64 address =
        InsertRecord(S, SqlKinds::kAdres, id, 0, {city, a.value(cDaneAdresoweUlica.Symbol)});
    if (!address || !InsertValues(S, address, a))
        return false;
    if (role == 1 || taxpayer == 0)
        return true;
    return S.Person(taxpayer, role == 2 ? SqlKinds::prPracownik : SqlKinds::prKontrahent, id, i % 5 != 0);
}

// Count subjects: every tenth a taxpayer, the next six its employees, three contractors.
bool InsertSubjects(TSink& S, int Count) {
    qint64 taxpayer = 0;
    for (int i = 0; i < Count; ++i) {
        const int role = i % 10 == 0 ? 1 : (i % 10 < 7 ? 2 : 3);
        qint64 id = 0;
        if (!InsertSubject(S, i, role, taxpayer, id))
            return false;
        if (role == 1)
            taxpayer = id;
    }
    return true;
}

bool CreateSchema(const QString& Symbol, const QString& Param, QString& Error) {
    auto db = NewRoot(Symbol);
    std::u16string param = U(Param);
    if (!db || !db->Connect(param, true)) {
        Error = QStringLiteral("connect failed: %1").arg(db ? db->GetLastErrorCode() : -1);
        return false;
    }
    db->Disconnect();
    return true;
}

} // namespace

bool Generate(const QString& Path, int Count, QString& Error) {
    QFile::remove(Path);
    if (!CreateSchema(QStringLiteral("SQLITE"), QStringLiteral("DIR=%1;").arg(Path), Error))
        return false;
    TFileSink sink;
    if (!sink.Open(Path))
        return Error = sink.Error(), false;
    if (InsertSubjects(sink, Count) && sink.Commit())
        return true;
    Error = sink.Error();
    return false;
}

bool GenerateOnServer(const QString& Socket, const QString& DataBase, int Count, QString& Error) {
    if (!CreateSchema(QStringLiteral("MYSQL"),
                      QStringLiteral("SOCKET=%1;USER=root;DB=%2;WATCH=0;").arg(Socket, DataBase), Error))
        return false;
    const QString name = QStringLiteral("generator-") + DataBase;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setUserName(QStringLiteral("root"));
        db.setDatabaseName(DataBase);
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + Socket);
        if (!db.open()) {
            Error = db.lastError().text();
        } else {
            QSqlQuery(db).exec(QStringLiteral("SET NAMES utf8mb4"));
            TServerSink sink(db);
            ok = sink.Begin() && InsertSubjects(sink, Count) && sink.Commit();
            if (!ok) {
                Error = sink.Error();
                db.rollback();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

int StoredSubjects(const QString& Path) {
    if (!QFile::exists(Path))
        return -1;
    sqlite3* db = nullptr;
    int n = -1;
    if (sqlite3_open_v2(Path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM ew_record WHERE kind = 21 AND state = 0", -1, &s,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return n;
}

bool EnsureGenerated(const QString& Path, int Count) {
    if (StoredSubjects(Path) == Count)
        return true;
    QElapsedTimer t;
    t.start();
    QString error;
    if (!Generate(Path, Count, error)) {
        std::fprintf(stderr, "generator failed: %s\n", qPrintable(error));
        return false;
    }
    std::fprintf(stderr, "generated %d subjects in %lld ms\n", Count, static_cast<long long>(t.elapsed()));
    return true;
}

} // namespace SubjectGenerator
