#include "uSqlCollectionQuery.h"

#include "uSqlDescribe.h"

#include <QSqlQuery>

namespace SqlCollections {

namespace {

using SqlKinds::TFace;

const QString kColumns = QStringLiteral(
    "SELECT r.id, r.owner_id, r.is_podatnik, r.is_pracownik, r.is_kontrahent, r.line1, r.line2, r.line3 ");

QString RegistryColumn(int Role) {
    switch (Role) {
    case rgPodatnicy:
        return QStringLiteral("r.is_podatnik");
    case rgPracownicy:
        return QStringLiteral("r.is_pracownik");
    default:
        return QStringLiteral("r.is_kontrahent");
    }
}

// FROM and WHERE of the scope, appending its parameters.
QString ScopeSql(const TListSpec& s, QVariantList& binds) {
    const QString base = QStringLiteral("FROM ew_record r ");
    const QString own = QStringLiteral("r.kind = ? AND r.state = 0");
    switch (s.scope) {
    case TScope::scAll:
        binds << s.kind;
        return base + QStringLiteral("WHERE ") + own;
    case TScope::scRegistry:
        binds << s.kind;
        return base + QStringLiteral("WHERE ") + own + QStringLiteral(" AND ") + RegistryColumn(s.role) +
               QStringLiteral(" = 1");
    case TScope::scOwner:
        binds << s.kind << s.anchor;
        return base + QStringLiteral("WHERE ") + own + QStringLiteral(" AND r.owner_id = ?");
    // The lists reached through a link start from the link rows of the anchor: CROSS
    // JOIN keeps SQLite from scanning every record of the kind in list order instead
    // (to spare the sort), which made each such list cost as much as the whole registry.
    case TScope::scReferencing:
        binds << s.anchor << s.role << s.kind;
        return QStringLiteral("FROM ew_link l CROSS JOIN ew_record r ON r.id = l.source_id "
                              "WHERE l.target_id = ? AND l.role = ? AND ") +
               own;
    case TScope::scPeopleOf:
        binds << s.anchor << s.role << s.kind;
        return QStringLiteral("FROM ew_person p CROSS JOIN ew_record r ON r.id = p.osoba_id "
                              "WHERE p.podatnik_id = ? AND p.role = ? AND ") +
               own;
    case TScope::scTaxpayersOf:
        binds << s.anchor << s.role << s.kind;
        return QStringLiteral("FROM ew_person p CROSS JOIN ew_record r ON r.id = p.podatnik_id "
                              "WHERE p.osoba_id = ? AND p.role = ? AND ") +
               own;
    case TScope::scRelated:
        binds << s.kind << s.anchor << s.anchor;
        return base + QStringLiteral("WHERE ") + own +
               QStringLiteral(" AND r.id IN (SELECT osoba_id FROM ew_person WHERE podatnik_id = ? "
                              "UNION SELECT podatnik_id FROM ew_person WHERE osoba_id = ?)");
    }
    return {};
}

// Activity of people: through the taxpayer's own link, or any link for a registry.
QString ActivitySql(const TListSpec& s, int Activity, QVariantList& binds) {
    if (Activity != 1 && Activity != 2)
        return {};
    if (s.scope == TScope::scPeopleOf)
        return Activity == 1 ? QStringLiteral(" AND p.aktywny = 1") : QStringLiteral(" AND p.aktywny = 0");
    if (s.scope != TScope::scRegistry || s.role == rgPodatnicy)
        return {};
    binds << (s.role == rgPracownicy ? int(SqlKinds::prPracownik) : int(SqlKinds::prKontrahent));
    const QString exists =
        QStringLiteral("EXISTS (SELECT 1 FROM ew_person a WHERE a.osoba_id = r.id AND a.role = ? "
                       "AND a.aktywny = 1)");
    return Activity == 1 ? QStringLiteral(" AND ") + exists : QStringLiteral(" AND NOT ") + exists;
}

TFace FaceOf(const TListSpec& s, const QSqlQuery& q) {
    if (s.kind != SqlKinds::kPodmiot || s.face != TFace::fPodmiot)
        return s.face;
    if (q.value(2).toInt())
        return TFace::fPodatnik;
    if (q.value(3).toInt())
        return TFace::fPracownik;
    if (q.value(4).toInt())
        return TFace::fKontrahent;
    return TFace::fPodmiot;
}

} // namespace

std::vector<TRow> ReadRows(TSqlConnection& C, const TListSpec& Spec, const QString& Filter, int Activity) {
    QVariantList binds; // filled in the order of the placeholders, so the parts are built one by one
    QString sql = kColumns;
    sql += ScopeSql(Spec, binds);
    sql += ActivitySql(Spec, Activity, binds);
    const QString needle = SqlDescribe::NormaliseFilter(Filter);
    if (!needle.isEmpty()) {
        sql +=
            QStringLiteral(" AND ") + C.Dialect().Contains(QStringLiteral("r.search"), QStringLiteral("?"));
        binds << needle;
    }
    sql += Spec.scope == TScope::scOwner ? QStringLiteral(" ORDER BY r.id")
                                         : QStringLiteral(" ORDER BY r.sort_key, r.id");
    std::vector<TRow> rows;
    C.EachRow(sql, binds, [&rows, &Spec](const QSqlQuery& q) {
        TRow row;
        row.id = q.value(0).toLongLong();
        row.owner = q.value(1).toLongLong();
        row.face = FaceOf(Spec, q);
        for (int i = 0; i < 3; ++i)
            row.lines[i] = q.value(5 + i).toString();
        rows.push_back(std::move(row));
    });
    return rows;
}

} // namespace SqlCollections
