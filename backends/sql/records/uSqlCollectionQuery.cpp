#include "uSqlCollectionQuery.h"

#include "uSqlDescribe.h"
#include "uSqlNativeRows.h"

#include <QHash>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>

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

TFace FaceOf(const TListSpec& s, bool Podatnik, bool Pracownik, bool Kontrahent) {
    if (s.kind != SqlKinds::kPodmiot || s.face != TFace::fPodmiot)
        return s.face;
    if (Podatnik)
        return TFace::fPodatnik;
    if (Pracownik)
        return TFace::fPracownik;
    if (Kontrahent)
        return TFace::fKontrahent;
    return TFace::fPodmiot;
}

void EndLine(TRows& Rows) {
    Rows.ends.push_back(static_cast<int32_t>(Rows.text.size()));
}

// A row's sort key in code point order (SQLite compares UTF-8 bytes): UTF-16 units
// ranked so that surrogates come after every unit from U+E000 on.
char16_t Ranked(char16_t U) {
    return U >= 0xE000 ? char16_t(U - 0x800) : U >= 0xD800 ? char16_t(U + 0x2000) : U;
}

struct TKeyed {
    quint64 prefix; // the first four ranked units, the first the highest
    uint32_t from;  // the key in the shared buffer
    uint32_t size;
    qint64 id;
    uint32_t row;
};

class TKeys {
public:
    void Add(QStringView Key, qint64 ID) {
        TKeyed k{0, static_cast<uint32_t>(m_text.size()), static_cast<uint32_t>(Key.size()), ID,
                 static_cast<uint32_t>(m_keys.size())};
        for (qsizetype i = 0; i < 4; ++i)
            k.prefix = (k.prefix << 16) | (i < Key.size() ? Ranked(Key[i].unicode()) : 0);
        m_text.append(reinterpret_cast<const char16_t*>(Key.utf16()), static_cast<size_t>(Key.size()));
        m_keys.push_back(k);
    }
    // Row numbers in the order of the keys, then of the identifiers.
    std::vector<uint32_t> Order() {
        std::sort(m_keys.begin(), m_keys.end(), [this](const TKeyed& a, const TKeyed& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            const int c = CompareTails(a, b);
            return c != 0 ? c < 0 : a.id < b.id;
        });
        std::vector<uint32_t> order;
        order.reserve(m_keys.size());
        for (const TKeyed& k : m_keys)
            order.push_back(k.row);
        return order;
    }

private:
    int CompareTails(const TKeyed& A, const TKeyed& B) const {
        const char16_t* a = m_text.data() + A.from;
        const char16_t* b = m_text.data() + B.from;
        const uint32_t n = std::min(A.size, B.size);
        for (uint32_t i = std::min<uint32_t>(4, n); i < n; ++i)
            if (a[i] != b[i])
                return Ranked(a[i]) < Ranked(b[i]) ? -1 : 1;
        return A.size == B.size ? 0 : A.size < B.size ? -1 : 1;
    }

    std::u16string m_text;
    std::vector<TKeyed> m_keys;
};

// Rows read in the server's order put into key order. A server sorting a whole registry
// by its long-text key sorts row references and then reads every row again at random;
// reading in table order and sorting here gives the same rows in SQLite's order (code
// points, no padding of the shorter key).
void Reorder(TRows& Rows, const std::vector<uint32_t>& Order) {
    TRows sorted;
    sorted.lineCount = Rows.lineCount;
    sorted.ids.reserve(Order.size());
    sorted.owners.reserve(Order.size());
    sorted.faces.reserve(Order.size());
    sorted.text.reserve(Rows.text.size());
    sorted.ends.reserve(Rows.ends.size());
    const size_t lines = static_cast<size_t>(Rows.lineCount);
    for (const uint32_t i : Order) {
        sorted.ids.push_back(Rows.ids[i]);
        sorted.owners.push_back(Rows.owners[i]);
        sorted.faces.push_back(Rows.faces[i]);
        for (size_t l = 0; l < lines; ++l) {
            const size_t k = i * lines + l;
            const size_t from = k == 0 ? 0 : static_cast<size_t>(Rows.ends[k - 1]);
            sorted.text.append(Rows.text, from, static_cast<size_t>(Rows.ends[k]) - from);
            EndLine(sorted);
        }
    }
    Rows = std::move(sorted);
}

} // namespace

QString TRows::Line(size_t Row, int Index) const {
    const size_t k = Row * static_cast<size_t>(lineCount) + static_cast<size_t>(Index);
    const int32_t from = k == 0 ? 0 : ends[k - 1];
    return QString(reinterpret_cast<const QChar*>(text.data() + from), ends[k] - from);
}

TRows ReadRows(TSqlConnection& C, const TListSpec& Spec, const QString& Filter, int Activity) {
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
    const bool byKey = Spec.scope != TScope::scOwner;
    const bool sortHere = byKey && C.Dialect().ServerLiveness();
    if (sortHere)
        sql.replace(0, kColumns.size(), kColumns.trimmed() + QStringLiteral(", r.sort_key "));
    else
        sql += byKey ? QStringLiteral(" ORDER BY r.sort_key, r.id") : QStringLiteral(" ORDER BY r.id");
    TRows rows;
    TKeys keys;
    rows.lineCount = std::min(SqlDescribe::LineCount(Spec.kind), 3);
    // A whole registry is read again and again (every switch to it, every cleared
    // filter): its buffers are reserved at the sizes they last had, so that they do not
    // grow by copies through fresh memory.
    struct THint {
        size_t text = 0;
        size_t rows = 0;
    };
    static thread_local QHash<int, THint> hints;
    const bool whole = needle.isEmpty() && (Spec.scope == TScope::scAll || Spec.scope == TScope::scRegistry);
    const int hintKey = Spec.kind * 8 + Spec.role;
    if (whole) {
        const THint hint = hints.value(hintKey);
        rows.text.reserve(hint.text);
        rows.ids.reserve(hint.rows);
        rows.owners.reserve(hint.rows);
        rows.faces.reserve(hint.rows);
        rows.ends.reserve(hint.rows * static_cast<size_t>(rows.lineCount));
    }
    const bool native = SqlNative::EachRow(C, sql, binds, [&rows, &Spec](sqlite3_stmt* q) {
        rows.ids.push_back(sqlite3_column_int64(q, 0));
        rows.owners.push_back(sqlite3_column_int64(q, 1));
        rows.faces.push_back(FaceOf(Spec, sqlite3_column_int(q, 2), sqlite3_column_int(q, 3),
                                    sqlite3_column_int(q, 4)));
        for (int i = 0; i < rows.lineCount; ++i) {
            SqlNative::AppendText(q, 5 + i, rows.text);
            EndLine(rows);
        }
    });
    if (!native) {
        C.EachRow(sql, binds, [&rows, &Spec, &keys, sortHere](const QSqlQuery& q) {
            rows.ids.push_back(q.value(0).toLongLong());
            rows.owners.push_back(q.value(1).toLongLong());
            rows.faces.push_back(FaceOf(Spec, q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()));
            for (int i = 0; i < rows.lineCount; ++i) {
                const QString line = q.value(5 + i).toString();
                rows.text.append(reinterpret_cast<const char16_t*>(line.utf16()), size_t(line.size()));
                EndLine(rows);
            }
            if (sortHere) {
                const QVariant key = q.value(8);
                keys.Add(key.typeId() == QMetaType::QByteArray ? QString::fromUtf8(key.toByteArray())
                                                               : key.toString(),
                         rows.ids.back());
            }
        });
        if (sortHere)
            Reorder(rows, keys.Order());
    }
    if (whole)
        hints.insert(hintKey, {rows.text.size() + rows.text.size() / 16, rows.size() + rows.size() / 16});
    return rows;
}

} // namespace SqlCollections
