// The history of changes on both dialects: one post with its history against the same
// post without (the history suspended in this process, whose root objects come from the
// backend library linked in directly); the journal over 1,000,000 entries filtered by
// operator and month; the growth of the database per 10,000 edited subjects.

#include "BackendLoader.h"
#include "BenchTargets.h"
#include "TestServer.h"
#include "uEwidarQuorDBSymbole.h"
#include "uSqlDataBase.h"
#include "uSqlHistory.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace BenchTargets {

namespace {

constexpr int kEntries = 1000000;
constexpr int kOperators = 20;
constexpr int kMonths = 24;
constexpr int kEdited = 10000;

// A root object of the linked-in library over Param.
TIntfPtr<IEwidarDataBase> InProcess(TDialect D, const QString& Param, bool Create, QString& Why) {
    return Connected(MakeSqlDataBase(Name(D)), Param, Create, Why);
}

// A Qt connection past the backend, for filling and measuring.
QSqlDatabase RawConnection(TDialect D, const QString& Param, const QString& Name) {
    QSqlDatabase db = QSqlDatabase::addDatabase(D == TDialect::Sqlite ? QStringLiteral("QSQLITE")
                                                                      : QStringLiteral("QMYSQL"),
                                                Name);
    db.setDatabaseName(ChildTarget(D, Param));
    if (D == TDialect::MySql) {
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
    }
    db.open();
    return db;
}

// The in-process roots of the post cases, kept between repetitions; released before
// the program ends (a root closed by a static's destructor would outlive Qt's SQL).
TIntfPtr<IEwidarDataBase>* HistoryRoots() {
    static TIntfPtr<IEwidarDataBase> roots[std::size(kDialects)];
    return roots;
}

void BM_PostSubjectHistory(benchmark::State& state, TDialect D, bool History) {
    QString why;
    const QString param = Generated(D, 100000, why);
    TIntfPtr<IEwidarDataBase>& db = HistoryRoots()[static_cast<int>(D)];
    if (!param.isEmpty() && !db)
        db = InProcess(D, param, false, why);
    if (!db)
        return Skip(state, why);
    auto record = Supports<IEwidarListCollection>(db->GetRegistries()->GetPodatnicy(u"nowak"))->GetItem(0);
    SqlHistory::SuspendForBenchmark(!History);
    int n = 0;
    for (auto _ : state) {
        auto field = record->GetDataFields()->GetDataField(U(cDanePodmiotuNrTelefonu.Symbol));
        field->SetValue(QStringLiteral("601 %1").arg(++n).toStdU16String());
        if (!record->Post())
            state.SkipWithError("post failed");
    }
    SqlHistory::SuspendForBenchmark(false);
}

qint64 MonthStart(int Month) {
    return QDateTime(QDate(2024, 1, 1).addMonths(Month), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
}

// 1,000,000 entries by 20 operators over 24 months, chained as the backend chains them,
// written in multi-row inserts in one transaction; the database is made once per run.
QString JournalDataBase(TDialect D, QString& Why) {
    static QString params[std::size(kDialects)];
    QString& param = params[static_cast<int>(D)];
    if (!param.isEmpty())
        return param;
    const QString p = Empty(D, QStringLiteral("journal"), Why);
    if (p.isEmpty())
        return {};
    if (!InProcess(D, p, true, Why)) // creates the schema
        return {};
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = RawConnection(D, p, name);
        QSqlQuery q(db);
        ok = db.isOpen() && q.exec(D == TDialect::Sqlite ? QStringLiteral("BEGIN") : QStringLiteral("START TRANSACTION"));
        constexpr int kBatch = 500;
        QString sql = QStringLiteral("INSERT INTO ew_history (seq, at_ms, operator_id, operator, host, event, kind, "
                                     "record_id, subject_id, description, details, hash) VALUES ");
        for (int i = 0; i < kBatch; ++i)
            sql += i ? QStringLiteral(", (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") : QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        ok = ok && q.prepare(sql);
        QString previous;
        const qint64 span = MonthStart(kMonths) - MonthStart(0);
        for (qint64 seq = 1; ok && seq <= kEntries; ++seq) {
            const qint64 at = MonthStart(0) + span * (seq - 1) / kEntries;
            const int op = int(seq * 7 % kOperators);
            const QString login = QStringLiteral("op%1").arg(op, 2, 10, QLatin1Char('0'));
            const int kind = seq % 3 == 0 ? 3 : 21;
            const qint64 record = 1 + seq % 50000;
            const QString description = QStringLiteral("Kowalski Jan %1").arg(record);
            const QString details = QStringLiteral("[[\"cDanePodmiotuNrTelefonu\",\"Numer telefonu\",\"600 %1\",\"600 %2\"]]")
                                        .arg(seq)
                                        .arg(seq + 1);
            const QString hash = SqlHistory::EntryHash(previous, seq, at, op + 1, login, QStringLiteral("biuro-1"), 2,
                                                       kind, record, record, description, details);
            for (const QVariant& v : {QVariant(seq), QVariant(at), QVariant(op + 1), QVariant(login),
                                      QVariant(QStringLiteral("biuro-1")), QVariant(2), QVariant(kind),
                                      QVariant(record), QVariant(record), QVariant(description), QVariant(details),
                                      QVariant(hash)})
                q.addBindValue(v);
            previous = hash;
            if (seq % kBatch == 0) {
                ok = q.exec();
                if (!ok)
                    Why = q.lastError().text();
                q.prepare(sql);
            }
        }
        ok = ok && QSqlQuery(db).exec(QStringLiteral("UPDATE ew_history_head SET seq = %1, hash = '%2' WHERE id = 1")
                                          .arg(kEntries)
                                          .arg(previous));
        ok = ok && QSqlQuery(db).exec(QStringLiteral("COMMIT"));
        if (D == TDialect::Sqlite)
            QSqlQuery(db).exec(QStringLiteral("ANALYZE"));
        else
            QSqlQuery(db).exec(QStringLiteral("ANALYZE TABLE ew_history"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        Why = QStringLiteral("filling the journal failed: %1").arg(Why);
        return {};
    }
    param = p;
    return param;
}

void BM_JournalOperatorMonth(benchmark::State& state, TDialect D) {
    QString why;
    const QString param = JournalDataBase(D, why);
    TIntfPtr<IEwidarDataBase> db = param.isEmpty() ? nullptr : InProcess(D, param, false, why);
    if (!db)
        return Skip(state, why);
    auto history = db->GetHistory();
    int month = 0;
    for (auto _ : state) {
        THistoryFilter f;
        f.Operator = QStringLiteral("op%1").arg(month % kOperators, 2, 10, QLatin1Char('0')).toStdU16String();
        f.FromMs = MonthStart(month % kMonths);
        f.ToMs = MonthStart(month % kMonths + 1);
        ++month;
        std::vector<THistoryEntry> out;
        if (!history->Query(f, out))
            state.SkipWithError("query failed");
        state.counters["rows"] = double(out.size());
    }
}

// Bytes the database grows by while 10,000 subjects get one changed field each, with and
// without the history (SQLite: the file after a checkpoint; MariaDB: data and indexes
// of every table after ANALYZE).
qint64 Size(TDialect D, const QString& Param) {
    const QString name = QUuid::createUuid().toString();
    qint64 bytes = 0;
    {
        QSqlDatabase db = RawConnection(D, Param, name);
        QSqlQuery q(db);
        if (D == TDialect::Sqlite) {
            q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            bytes = QFileInfo(ChildTarget(D, Param)).size();
        } else {
            for (const char* t : {"ew_record", "ew_value", "ew_ident", "ew_history", "ew_history_head"})
                q.exec(QStringLiteral("ANALYZE TABLE %1").arg(QLatin1String(t)));
            if (q.exec(QStringLiteral("SELECT sum(data_length + index_length) FROM information_schema.tables "
                                      "WHERE table_schema = DATABASE()")) &&
                q.next())
                bytes = q.value(0).toLongLong();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return bytes;
}

void BM_GrowthPer10000Edits(benchmark::State& state, TDialect D, bool History) {
    QString why;
    const QString param = Generated(D, kEdited, why);
    TIntfPtr<IEwidarDataBase> db = param.isEmpty() ? nullptr : InProcess(D, param, false, why);
    if (!db)
        return Skip(state, why);
    SqlHistory::SuspendForBenchmark(!History);
    static int pass = 0;
    for (auto _ : state) {
        const qint64 before = Size(D, param);
        auto list = db->GetRegistries()->GetPodmioty({});
        const int n = std::min(list->GetCount(), kEdited);
        ++pass;
        for (int i = 0; i < n; ++i) {
            auto r = list->GetItem(i);
            r->GetDataFields()->GetDataField(U(cDanePodmiotuNrTelefonu.Symbol))
                ->SetValue(QStringLiteral("602 %1 %2").arg(pass).arg(i).toStdU16String());
            if (!r->Post())
                state.SkipWithError("post failed");
        }
        const qint64 after = Size(D, param);
        state.counters["edited"] = n;
        state.counters["grown_kB"] = double(after - before) / 1024.0;
    }
    SqlHistory::SuspendForBenchmark(false);
}

} // namespace

void ReleaseHistoryBenchmarks() {
    for (size_t i = 0; i < std::size(kDialects); ++i)
        if (TIntfPtr<IEwidarDataBase>& db = HistoryRoots()[i]) {
            db->Disconnect();
            db = nullptr;
        }
}

void RegisterHistoryBenchmarks() {
    for (TDialect d : kDialects) {
        const QString n = Name(d);
        benchmark::RegisterBenchmark(QStringLiteral("BM_PostSubjectWithoutHistory/%1").arg(n).toUtf8().constData(),
                                     BM_PostSubjectHistory, d, false)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(50);
        benchmark::RegisterBenchmark(QStringLiteral("BM_PostSubjectWithHistory/%1").arg(n).toUtf8().constData(),
                                     BM_PostSubjectHistory, d, true)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(50);
        benchmark::RegisterBenchmark(QStringLiteral("BM_JournalOperatorMonth/%1").arg(n).toUtf8().constData(),
                                     BM_JournalOperatorMonth, d)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
        for (bool h : {false, true})
            benchmark::RegisterBenchmark(
                QStringLiteral("BM_Growth10000Edits%1/%2").arg(h ? "WithHistory" : "WithoutHistory", n).toUtf8().constData(),
                BM_GrowthPer10000Edits, d, h)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(1);
    }
}

} // namespace BenchTargets
