#include "uSqlRecordHistory.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlHistory.h"

namespace SqlRecordHistory {

namespace {

using namespace SqlKinds;
using SqlHistory::TChange;

QString CaptionOf(const QString& Symbol, const QString& Caption) {
    if (!Caption.isEmpty())
        return Caption;
    const TInternalFieldRecord* d = FindField(Symbol);
    return d ? d->Description : Symbol;
}

QString RoleCaption(int Role) {
    switch (Role) {
    case lrRodzajPrzewazajacejDzialalnosci:
        return QStringLiteral("Rodzaj przeważającej działalności");
    case lrDaneZUS:
        return QStringLiteral("Oddział ZUS");
    case lrUrzadStatystyczny:
        return QStringLiteral("Urząd statystyczny");
    case lrDaneNFZ:
        return QStringLiteral("Oddział NFZ");
    case lrSadRejonowy:
        return QStringLiteral("Sąd rejonowy");
    case lrBiuroRachunkowe:
        return QStringLiteral("Biuro rachunkowe");
    case lrDaneBanku:
        return QStringLiteral("Bank");
    case lrSpolka:
        return QStringLiteral("Spółka");
    case lrPodmiot:
        return QStringLiteral("Reprezentowany podmiot");
    default:
        return QStringLiteral("Powiązanie %1").arg(Role);
    }
}

// A linked record as the history shows it: its first line, and its identifier to find it by.
QString Target(TSqlConnection& C, qint64 ID) {
    if (ID == 0)
        return {};
    const QString line = SqlHistory::Description(C, ID);
    return line.isEmpty() ? QStringLiteral("#%1").arg(ID) : QStringLiteral("%1 (#%2)").arg(line).arg(ID);
}

QString YesNo(bool Value) {
    return Value ? QStringLiteral("tak") : QStringLiteral("nie");
}

QList<TChange> StoredValues(TSqlConnection& C, qint64 ID) {
    QList<TChange> out;
    for (const QVariantList& r : C.Rows(
             QStringLiteral("SELECT symbol, value, caption FROM ew_value WHERE record_id = ? ORDER BY symbol"), {ID}))
        if (!r[1].toString().isEmpty())
            out.append(TChange{r[0].toString(), CaptionOf(r[0].toString(), r[2].toString()), r[1].toString(), {}});
    return out;
}

} // namespace

void NotePost(TSqlConnection& C, TRecordState& R, qint64 ID, bool Fresh) {
    SqlHistory::TEntry e;
    e.event = Fresh ? THistoryEvent::heNew : THistoryEvent::hePost;
    e.kind = R.kind;
    e.record = ID;
    e.subject = R.owner;
    for (const QString& symbol : R.DirtySymbols()) {
        const TFieldValue* f = R.Field(symbol, false);
        const QString old = Fresh ? QString() : f->stored;
        if (f->value != old)
            e.changes.append(TChange{symbol, CaptionOf(symbol, f->caption), old, f->value});
    }
    if (R.AktywnyDirty() && R.podatnik != 0 && R.Aktywny() != R.StoredAktywny())
        e.changes.append(TChange{QStringLiteral("AKTYWNY"), QStringLiteral("Aktywny"), YesNo(R.StoredAktywny()),
                                 YesNo(R.Aktywny())});
    if (Fresh || !e.changes.isEmpty())
        SqlHistory::Append(C, e);
    for (int role : R.DirtyLinks()) {
        const qint64 old = Fresh ? 0 : R.StoredLink(role);
        const qint64 now = R.Link(role);
        if (old == now)
            continue;
        SqlHistory::TEntry link;
        link.event = THistoryEvent::heLink;
        link.kind = R.kind;
        link.record = ID;
        link.subject = R.owner;
        link.changes.append(TChange{QStringLiteral("LINK:%1").arg(role), RoleCaption(role), Target(C, old),
                                    Target(C, now)});
        SqlHistory::Append(C, link);
    }
}

void NoteDelete(TSqlConnection& C, qint64 ID, int Kind, qint64 Owner) {
    // Sections go with their owner (the foreign key cascades): each is recorded, so that
    // every deleted record can still be explained by its identifier.
    for (const QVariantList& s :
         C.Rows(QStringLiteral("SELECT id, kind FROM ew_record WHERE owner_id = ? AND state = 0 ORDER BY id"), {ID}))
        SqlHistory::Append(C, SqlHistory::TEntry{THistoryEvent::heDelete, s[1].toInt(), s[0].toLongLong(), ID, {},
                                                 StoredValues(C, s[0].toLongLong())});
    SqlHistory::Append(C, SqlHistory::TEntry{THistoryEvent::heDelete, Kind, ID, Owner, {}, StoredValues(C, ID)});
}

void NotePersonLink(TSqlConnection& C, qint64 Podatnik, int Role, qint64 Osoba, bool Linked) {
    const QString caption = Role == prPracownik ? QStringLiteral("Pracownik podatnika")
                                                : QStringLiteral("Kontrahent podatnika");
    const QString target = Target(C, Podatnik);
    SqlHistory::Append(C, SqlHistory::TEntry{THistoryEvent::heLink,
                                             kPodmiot,
                                             Osoba,
                                             Podatnik,
                                             {},
                                             {TChange{QStringLiteral("PERSON:%1").arg(Role), caption,
                                                      Linked ? QString() : target, Linked ? target : QString()}}});
}

} // namespace SqlRecordHistory
