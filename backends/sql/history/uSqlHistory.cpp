#include "uSqlHistory.h"

#include "uSqlConnection.h"
#include "uSqlErrors.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSysInfo>

#include <optional>

namespace SqlHistory {

namespace {

bool g_suspended = false;

const QString& HostName() {
    static const QString host = QSysInfo::machineHostName();
    return host;
}

// Details are a JSON array of [symbol, caption, old, new]; the stored text is hashed as
// it is, so its exact form never has to be rebuilt.
QString EncodeChanges(const QList<TChange>& Changes) {
    QJsonArray all;
    for (const TChange& c : Changes)
        all.append(QJsonArray{c.symbol, c.caption, c.oldValue, c.newValue});
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::vector<THistoryChange> DecodeChanges(const QString& Details) {
    std::vector<THistoryChange> out;
    const QJsonArray all = QJsonDocument::fromJson(Details.toUtf8()).array();
    out.reserve(all.size());
    for (const QJsonValue& v : all) {
        const QJsonArray c = v.toArray();
        out.push_back(THistoryChange{c.at(0).toString().toStdU16String(), c.at(1).toString().toStdU16String(),
                                     c.at(2).toString().toStdU16String(), c.at(3).toString().toStdU16String()});
    }
    return out;
}

void AddField(QByteArray& Out, const QString& Text) {
    const QByteArray utf8 = Text.toUtf8();
    Out += QByteArray::number(utf8.size());
    Out += ':';
    Out += utf8;
    Out += '\n';
}

const QString kColumns = QStringLiteral("seq, at_ms, operator_id, operator, host, event, kind, record_id, "
                                        "subject_id, description, details, hash");

QString Folded(const QString& Text) {
    return Text.toCaseFolded();
}

bool Matches(const THistoryEntry& E, const QString& Needle) {
    auto has = [&Needle](const std::u16string& s) {
        return Folded(QString::fromStdU16String(s)).contains(Needle);
    };
    if (has(E.Operator) || has(E.Description) || has(E.Host))
        return true;
    for (const THistoryChange& c : E.Changes)
        if (has(c.Caption) || has(c.Symbol) || has(c.OldValue) || has(c.NewValue))
            return true;
    return false;
}

THistoryEntry FromRow(const QSqlQuery& Q) {
    THistoryEntry e;
    e.Seq = Q.value(0).toLongLong();
    e.TimeMs = Q.value(1).toLongLong();
    e.OperatorID = Q.value(2).toLongLong();
    e.Operator = Q.value(3).toString().toStdU16String();
    e.Host = Q.value(4).toString().toStdU16String();
    e.Event = static_cast<THistoryEvent>(Q.value(5).toInt());
    e.Kind = Q.value(6).toInt();
    e.RecordID = Q.value(7).toLongLong();
    e.SubjectID = Q.value(8).toLongLong();
    e.Description = Q.value(9).toString().toStdU16String();
    e.Changes = DecodeChanges(Q.value(10).toString());
    return e;
}

// The head row is created with the table; should it have been removed outside the
// program, it is made again from the last entry, so that work goes on.
QList<QVariantList> LockedHead(TSqlConnection& C, qint64 Record) {
    auto rows = C.Rows(C.Dialect().HistoryHead(), {C.Operator(), Record});
    if (!rows.isEmpty())
        return rows;
    const auto last = C.Rows(QStringLiteral("SELECT seq, hash FROM ew_history ORDER BY seq DESC LIMIT 1"));
    C.Exec(QStringLiteral("INSERT INTO ew_history_head (id, seq, hash) VALUES (1, ?, ?)"),
           {last.isEmpty() ? QVariant(0) : last.front()[0], last.isEmpty() ? QVariant(QString()) : last.front()[1]});
    return C.Rows(C.Dialect().HistoryHead(), {C.Operator(), Record});
}

} // namespace

QString EntryHash(const QString& Previous, qint64 Seq, qint64 AtMs, qint64 OperatorID, const QString& Operator,
                  const QString& Host, int Event, int Kind, qint64 Record, qint64 Subject,
                  const QString& Description, const QString& Details) {
    QByteArray data;
    data.reserve(256 + Details.size());
    for (const QString& t : {Previous, QString::number(Seq), QString::number(AtMs), QString::number(OperatorID),
                             Operator, Host, QString::number(Event), QString::number(Kind),
                             QString::number(Record), QString::number(Subject), Description, Details})
        AddField(data, t);
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

void SuspendForBenchmark(bool Suspended) {
    g_suspended = Suspended;
}

void Append(TSqlConnection& C, const TEntry& E) {
    C.Require();
    if (g_suspended)
        return;
    // Inside the change's transaction the entry goes with it: a failure there undoes the
    // whole change, so a savepoint of its own would only cost two more statements.
    std::optional<TWriteScope> scope;
    if (!C.InWriteScope())
        scope.emplace(C);
    const auto head = LockedHead(C, E.record);
    if (head.isEmpty())
        Fail(SqlErrors::ecQuery, QStringLiteral("brak początku łańcucha historii zmian"));
    const QVariantList& h = head.front();
    const qint64 seq = h[0].toLongLong() + 1;
    const QString previous = h[1].toString();
    const qint64 at = h[2].toLongLong();
    const QString login = h[3].toString();
    const QString description = E.description.isEmpty() ? h[4].toString() : E.description;
    const qint64 subject = E.subject != 0 ? E.subject : E.record;
    const QString details = EncodeChanges(E.changes);
    const QString hash = EntryHash(previous, seq, at, C.Operator(), login, HostName(), int(E.event), E.kind,
                                   E.record, subject, description, details);
    static const QString insert =
        QStringLiteral("INSERT INTO ew_history (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(kColumns);
    C.ExecAll({{insert,
                {seq, at, C.Operator(), login, HostName(), int(E.event), E.kind, E.record, subject, description,
                 details, hash}},
               {QStringLiteral("UPDATE ew_history_head SET seq = ?, hash = ? WHERE id = 1"), {seq, hash}}});
    if (scope)
        scope->Commit();
}

QString Description(TSqlConnection& C, qint64 Record) {
    return C.Scalar(QStringLiteral("SELECT line1 FROM ew_record WHERE id = ?"), {Record}).toString();
}

void Query(TSqlConnection& C, const THistoryFilter& F, const std::function<void(THistoryEntry&&)>& Out) {
    C.Require();
    QStringList where;
    QVariantList binds;
    if (!F.Operator.empty()) {
        where << QStringLiteral("operator = ?");
        binds << QString::fromStdU16String(F.Operator);
    }
    if (F.Kind != 0) {
        where << QStringLiteral("kind = ?");
        binds << F.Kind;
    }
    if (F.FromMs != 0) {
        where << QStringLiteral("at_ms >= ?");
        binds << qint64(F.FromMs);
    }
    if (F.ToMs != 0) {
        where << QStringLiteral("at_ms < ?");
        binds << qint64(F.ToMs);
    }
    if (F.RecordID != 0) {
        where << QStringLiteral("(record_id = ? OR subject_id = ?)");
        binds << qint64(F.RecordID) << qint64(F.RecordID);
    }
    const QString needle = Folded(QString::fromStdU16String(F.Text));
    const int limit = F.Limit > 0 ? F.Limit : 5000;
    QString sql = QStringLiteral("SELECT %1 FROM ew_history").arg(kColumns);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    // Time first: the journal's indexes end with (at_ms, seq), so a filtered month is read
    // from the index in order, without sorting.
    sql += QStringLiteral(" ORDER BY at_ms DESC, seq DESC");
    if (needle.isEmpty())
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    int given = 0;
    C.EachRow(sql, binds, [&](const QSqlQuery& q) {
        if (given >= limit)
            return;
        THistoryEntry e = FromRow(q);
        if (!needle.isEmpty() && !Matches(e, needle))
            return;
        ++given;
        Out(std::move(e));
    });
}

QStringList Operators(TSqlConnection& C) {
    QStringList out;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT DISTINCT operator FROM ew_history WHERE operator <> '' ORDER BY operator")))
        out << r[0].toString();
    return out;
}

TVerdict Verify(TSqlConnection& C) {
    C.Require();
    TVerdict v;
    QString previous;
    qint64 expected = 1;
    C.EachRow(QStringLiteral("SELECT %1 FROM ew_history ORDER BY seq").arg(kColumns), {}, [&](const QSqlQuery& q) {
        if (v.firstBroken != 0)
            return;
        const qint64 seq = q.value(0).toLongLong();
        if (seq != expected) {
            v.firstBroken = expected;
            v.reason = seq > expected ? QStringLiteral("brak wpisu nr %1 (usunięty)").arg(expected)
                                      : QStringLiteral("wpis nr %1 powtórzony").arg(seq);
            return;
        }
        const QString hash =
            EntryHash(previous, seq, q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toString(),
                      q.value(4).toString(), q.value(5).toInt(), q.value(6).toInt(), q.value(7).toLongLong(),
                      q.value(8).toLongLong(), q.value(9).toString(), q.value(10).toString());
        if (hash != q.value(11).toString()) {
            v.firstBroken = seq;
            v.reason = QStringLiteral("wpis nr %1 został zmieniony lub wstawiony poza programem").arg(seq);
            return;
        }
        previous = hash;
        ++expected;
    });
    if (v.firstBroken != 0)
        return v;
    const auto head = C.Rows(QStringLiteral("SELECT seq, hash FROM ew_history_head WHERE id = 1"));
    const qint64 last = expected - 1;
    if (head.isEmpty())
        return v; // nothing to compare the end with
    const qint64 headSeq = head.front()[0].toLongLong();
    if (headSeq > last) {
        v.firstBroken = last + 1;
        v.reason = QStringLiteral("brak wpisów od nr %1 do nr %2 (usunięte z końca)").arg(last + 1).arg(headSeq);
    } else if (headSeq < last || head.front()[1].toString() != previous) {
        v.firstBroken = headSeq + 1 <= last ? headSeq + 1 : last;
        v.reason = QStringLiteral("wpis nr %1 dopisany poza programem").arg(v.firstBroken);
    }
    return v;
}

} // namespace SqlHistory
