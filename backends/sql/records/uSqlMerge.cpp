#include "uSqlMerge.h"

#include "uSqlAccess.h"
#include "uSqlDuplicates.h"
#include "uSqlErrors.h"
#include "uSqlHistory.h"
#include "uSqlKinds.h"
#include "uSqlRecordStore.h"
#include "uSqlSession.h"

#include <QStringList>

namespace SqlMerge {

namespace {

struct TStored {
    int kind = 0;
    int flags[3] = {0, 0, 0}; // is_podatnik, is_pracownik, is_kontrahent
};

// Both records, stored and of one kind; a missing one is 106.
std::pair<TStored, TStored> ReadBoth(TSqlConnection& C, qint64 Keep, qint64 Drop) {
    TStored keep, drop;
    bool haveKeep = false, haveDrop = false;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT id, kind, state, is_podatnik, is_pracownik, is_kontrahent FROM ew_record "
                               "WHERE id IN (?, ?)"),
                {Keep, Drop})) {
        if (r[2].toInt() != 0) // a placeholder is no record of a registry yet
            Fail(SqlErrors::ecMergeKinds);
        TStored s;
        s.kind = r[1].toInt();
        for (int i = 0; i < 3; ++i)
            s.flags[i] = r[3 + i].toInt();
        if (r[0].toLongLong() == Keep) {
            keep = s;
            haveKeep = true;
        } else {
            drop = s;
            haveDrop = true;
        }
    }
    if (!haveKeep || !haveDrop)
        Fail(SqlErrors::ecRecordDeleted);
    if (keep.kind != drop.kind)
        Fail(SqlErrors::ecMergeKinds);
    return {keep, drop};
}

// A subject may not become its own employee or contractor (a people link between the two),
// nor its own representative or partner (a section of one linking to the other).
void CheckOwnRelations(TSqlConnection& C, qint64 Keep, qint64 Drop) {
    const int people =
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_person WHERE (podatnik_id = ? AND osoba_id = ?) "
                                "OR (podatnik_id = ? AND osoba_id = ?)"),
                 {Keep, Drop, Drop, Keep}, 0)
            .toInt();
    const int links =
        C.Scalar(QStringLiteral("SELECT count(*) FROM ew_link l JOIN ew_record s ON s.id = l.source_id "
                                "WHERE l.target_id IN (?, ?) AND ((s.owner_id IN (?, ?) AND s.owner_id <> "
                                "l.target_id) OR (s.id IN (?, ?) AND s.id <> l.target_id))"),
                 {Keep, Drop, Keep, Drop, Keep, Drop}, 0)
            .toInt();
    if (people > 0 || links > 0)
        Fail(SqlErrors::ecMergeOwnRelation);
}

void WriteValues(TSqlConnection& C, qint64 Keep, const TValues& Values) {
    for (const auto& [symbol, value] : Values) {
        if (symbol.isEmpty())
            continue;
        // The caption and editor kind stored for the kept record stay as they are.
        const auto rows = C.Rows(
            QStringLiteral("SELECT caption, field_type FROM ew_value WHERE record_id = ? AND symbol = ?"),
            {Keep, symbol});
        TFieldValue f;
        f.value = value;
        if (!rows.isEmpty()) {
            f.caption = rows.front()[0].toString();
            f.type = rows.front()[1].toString();
        }
        SqlRecordStore::WriteField(C, Keep, symbol, f);
    }
}

// Single links of the dropped record whose role the kept record lacks go over to it; the
// rest go with the dropped record.
void MoveOwnLinks(TSqlConnection& C, qint64 Keep, qint64 Drop) {
    QStringList taken;
    for (const QVariantList& r : C.Rows(QStringLiteral("SELECT role FROM ew_link WHERE source_id = ?"), {Keep}))
        taken << QString::number(r[0].toInt());
    QString sql = QStringLiteral("UPDATE ew_link SET source_id = ? WHERE source_id = ?");
    if (!taken.isEmpty())
        sql += QStringLiteral(" AND role NOT IN (%1)").arg(taken.join(u','));
    C.Exec(sql, {Keep, Drop});
}

// People links: the dropped subject's employees and contractors, and the taxpayers whose
// employee or contractor it was, unless the kept one has the same link already.
void MovePeople(TSqlConnection& C, qint64 Keep, qint64 Drop) {
    C.Exec(QStringLiteral("INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) "
                          "SELECT ?, p.role, p.osoba_id, p.aktywny FROM ew_person p WHERE p.podatnik_id = ? "
                          "AND NOT EXISTS (SELECT 1 FROM ew_person q WHERE q.podatnik_id = ? "
                          "AND q.role = p.role AND q.osoba_id = p.osoba_id)"),
           {Keep, Drop, Keep});
    C.Exec(QStringLiteral("INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) "
                          "SELECT p.podatnik_id, p.role, ?, p.aktywny FROM ew_person p WHERE p.osoba_id = ? "
                          "AND NOT EXISTS (SELECT 1 FROM ew_person q WHERE q.osoba_id = ? "
                          "AND q.role = p.role AND q.podatnik_id = p.podatnik_id)"),
           {Keep, Drop, Keep});
    C.Exec(QStringLiteral("DELETE FROM ew_person WHERE podatnik_id = ? OR osoba_id = ?"), {Drop, Drop});
}

// Kinds whose lists show what moved: the kept record's, its sections' and its referrers'.
QSet<int> AffectedKinds(TSqlConnection& C, qint64 Keep) {
    QSet<int> kinds;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT DISTINCT kind FROM ew_record WHERE owner_id = ? UNION "
                               "SELECT DISTINCT r.kind FROM ew_link l JOIN ew_record r ON r.id = l.source_id "
                               "WHERE l.target_id = ?"),
                {Keep, Keep}))
        kinds.insert(r[0].toInt());
    return kinds;
}

} // namespace

void Merge(TSqlConnection& C, qint64 Keep, qint64 Drop, const TValues& Values) {
    C.Require();
    SqlAccess::Demand(C, SqlAccess::rtCreate); // the dropped record is deleted
    if (Keep == Drop)
        Fail(SqlErrors::ecMergeSelf);
    if (Keep <= 0 || Drop <= 0)
        Fail(SqlErrors::ecNoPrimaryKey);
    TWriteScope scope(C);
    const auto [keep, drop] = ReadBoth(C, Keep, Drop);
    // Under both locks: this session's own, or this write transaction while nobody holds one.
    SqlSession::CheckNotLockedByOther(C, Keep);
    SqlSession::CheckNotLockedByOther(C, Drop);
    CheckOwnRelations(C, Keep, Drop);

    // The history names both records before the dropped one goes: the kept record's entry
    // lists the values taken over, the dropped record's entry says where it went.
    const QString keepLine = SqlHistory::Description(C, Keep);
    const QString dropLine = SqlHistory::Description(C, Drop);
    SqlHistory::TEntry kept{THistoryEvent::heMerge, keep.kind, Keep, 0, keepLine, {}};
    kept.changes.append({QStringLiteral("scalono"), QStringLiteral("Scalono z rekordem"),
                         QStringLiteral("%1: %2").arg(Drop).arg(dropLine), QString()});
    for (const auto& v : Values)
        kept.changes.append({v.first, QString(), QString(), v.second});
    SqlHistory::Append(C, kept);
    SqlHistory::Append(C, {THistoryEvent::heMerge, drop.kind, Drop, 0, dropLine,
                           {{QStringLiteral("scalono"), QStringLiteral("Scalono z rekordem"), QString(),
                             QStringLiteral("%1: %2").arg(Keep).arg(keepLine)}}});
    WriteValues(C, Keep, Values);
    // A subject of several registries stays in each of them; the row version tells other
    // desks holding the kept record that it changed.
    C.Exec(QStringLiteral("UPDATE ew_record SET version = version + 1, is_podatnik = ?, is_pracownik = ?, "
                          "is_kontrahent = ? WHERE id = ?"),
           {keep.flags[0] | drop.flags[0], keep.flags[1] | drop.flags[1], keep.flags[2] | drop.flags[2], Keep});
    C.Exec(QStringLiteral("UPDATE ew_record SET owner_id = ? WHERE owner_id = ?"), {Keep, Drop});
    MoveOwnLinks(C, Keep, Drop);
    C.Exec(QStringLiteral("UPDATE ew_link SET target_id = ? WHERE target_id = ?"), {Keep, Drop});
    MovePeople(C, Keep, Drop);
    // The pairs marked as no duplicates of the dropped record hold for the kept one; the
    // deletion would take them along.
    SqlDuplicates::CarryMarks(C, Drop, Keep);
    C.Exec(QStringLiteral("DELETE FROM ew_record WHERE id = ?"), {Drop}, SqlErrors::ecDeleteFailed);

    scope.Changed(keep.kind);
    scope.Changed(AffectedKinds(C, Keep));
    scope.Changed(SqlRecordStore::RefreshStoredLines(C, Keep));
    scope.Commit();
}

} // namespace SqlMerge
