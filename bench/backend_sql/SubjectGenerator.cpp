#include "SubjectGenerator.h"

#include "BackendLoader.h"
#include "uEwidarQuorDBSymbole.h"
#include "uSqlDescribe.h"
#include "uSqlKinds.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>

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

struct TStatements {
    sqlite3* db = nullptr;
    sqlite3_stmt* record = nullptr;
    sqlite3_stmt* value = nullptr;
    sqlite3_stmt* person = nullptr;
    sqlite3_stmt* ident = nullptr;
    ~TStatements() {
        sqlite3_finalize(ident);
        sqlite3_finalize(record);
        sqlite3_finalize(value);
        sqlite3_finalize(person);
        sqlite3_close(db);
    }
};

void Text(sqlite3_stmt* s, int i, const QString& v) {
    const QByteArray u = v.toUtf8();
    sqlite3_bind_text(s, i, u.constData(), u.size(), SQLITE_TRANSIENT);
}

qint64 InsertRecord(TStatements& st, int kind, qint64 owner, int role, const QStringList& lines) {
    sqlite3_stmt* s = st.record;
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, kind);
    if (owner)
        sqlite3_bind_int64(s, 2, owner);
    else
        sqlite3_bind_null(s, 2);
    for (int r = 0; r < 3; ++r)
        sqlite3_bind_int(s, 3 + r, role == r + 1 ? 1 : 0);
    for (int l = 0; l < 3; ++l)
        Text(s, 6 + l, lines.value(l));
    const QString search = SqlDescribe::SearchText(lines);
    Text(s, 9, search);
    Text(s, 10, SqlDescribe::SortKey(search));
    return sqlite3_step(s) == SQLITE_DONE ? sqlite3_last_insert_rowid(st.db) : 0;
}

bool InsertValues(TStatements& st, qint64 id, const QHash<QString, QString>& values) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        sqlite3_reset(st.value);
        sqlite3_bind_int64(st.value, 1, id);
        Text(st.value, 2, it.key());
        Text(st.value, 3, it.value());
        if (sqlite3_step(st.value) != SQLITE_DONE)
            return false;
        if (it.key() != cDanePodmiotuNIP.Symbol)
            continue;
        // The digits of an identifier, as the backend keeps them for its duplicate check.
        sqlite3_reset(st.ident);
        sqlite3_bind_int64(st.ident, 1, id);
        Text(st.ident, 2, it.key());
        Text(st.ident, 3, SqlDescribe::Digits(it.value()));
        if (sqlite3_step(st.ident) != SQLITE_DONE)
            return false;
    }
    return true;
}

// One subject with its address; role 1 taxpayer, 2 employee, 3 contractor of Taxpayer.
bool InsertSubject(TStatements& st, int i, int role, qint64 taxpayer, qint64& id) {
    const QString city = QString::fromUtf8(kCity[(i * 7) % kCity.size()]);
    QHash<QString, QString> v;
    v.insert(cDanePodmiotuPierwszeImie.Symbol, QString::fromUtf8(kFirst[(i * 5) % kFirst.size()]));
    v.insert(cDanePodmiotuNazwisko.Symbol, QString::fromUtf8(kLast[(i / 3) % kLast.size()]));
    v.insert(cDanePodmiotuNIP.Symbol, QStringLiteral("%1").arg(1000000000LL + i * 7919LL % 8999999999LL));
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
    id = InsertRecord(st, SqlKinds::kPodmiot, 0, role, SqlDescribe::Lines(SqlKinds::kPodmiot, src));
    if (!id || !InsertValues(st, id, v))
        return false;
    QHash<QString, QString> a{{cDaneAdresoweMiejscowosc.Symbol, city},
                              {cDaneAdresoweUlica.Symbol, QStringLiteral("Polna %1").arg(i % 200)}};
    const qint64 address =
        InsertRecord(st, SqlKinds::kAdres, id, 0, {city, a.value(cDaneAdresoweUlica.Symbol)});
    if (!address || !InsertValues(st, address, a))
        return false;
    if (role == 1 || taxpayer == 0)
        return true;
    sqlite3_reset(st.person);
    sqlite3_bind_int64(st.person, 1, taxpayer);
    sqlite3_bind_int(st.person, 2, role == 2 ? SqlKinds::prPracownik : SqlKinds::prKontrahent);
    sqlite3_bind_int64(st.person, 3, id);
    sqlite3_bind_int(st.person, 4, i % 5 == 0 ? 0 : 1);
    return sqlite3_step(st.person) == SQLITE_DONE;
}

bool CreateSchema(const QString& Path, QString& Error) {
    QFile::remove(Path);
    auto db = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;").arg(Path));
    if (!db || !db->Connect(param, true)) {
        Error = QStringLiteral("connect failed: %1").arg(db ? db->GetLastErrorCode() : -1);
        return false;
    }
    db->Disconnect();
    return true;
}

} // namespace

bool Generate(const QString& Path, int Count, QString& Error) {
    if (!CreateSchema(Path, Error))
        return false;
    TStatements st;
    if (sqlite3_open(Path.toUtf8().constData(), &st.db) != SQLITE_OK)
        return Error = QStringLiteral("open failed"), false;
    sqlite3_exec(st.db, "PRAGMA foreign_keys = ON; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(
        st.db,
        "INSERT INTO ew_record (kind, owner_id, state, is_podatnik, is_pracownik, is_kontrahent, "
        "line1, line2, line3, search, sort_key) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &st.record, nullptr);
    sqlite3_prepare_v2(st.db, "INSERT INTO ew_value (record_id, symbol, value) VALUES (?, ?, ?)", -1,
                       &st.value, nullptr);
    sqlite3_prepare_v2(st.db, "INSERT INTO ew_ident (record_id, symbol, digits) VALUES (?, ?, ?)", -1,
                       &st.ident, nullptr);
    sqlite3_prepare_v2(st.db,
                       "INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) VALUES (?, ?, ?, ?)", -1,
                       &st.person, nullptr);
    qint64 taxpayer = 0;
    for (int i = 0; i < Count; ++i) {
        const int role = i % 10 == 0 ? 1 : (i % 10 < 7 ? 2 : 3);
        qint64 id = 0;
        if (!InsertSubject(st, i, role, taxpayer, id)) {
            Error = QString::fromUtf8(sqlite3_errmsg(st.db));
            sqlite3_exec(st.db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        if (role == 1)
            taxpayer = id;
    }
    return sqlite3_exec(st.db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
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
