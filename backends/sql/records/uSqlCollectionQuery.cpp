#include "uSqlCollectionQuery.h"

#include "uSqlDescribe.h"
#include "uSqlListCache.h"
#include "uSqlNativeRows.h"
#include "uSqlServerRows.h"

#include <QHash>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <string_view>

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

// A server's rows as it sent them (UTF-8), put into sort key order on the desk, then
// decoded once into the list's buffer. A server sorting a whole registry by its long-text
// key sorts row references and then reads every row again at random; reading in table
// order and sorting here gives SQLite's order: the keys' UTF-8 bytes compared (code point
// order), a shorter key before a longer one it begins, then the identifier. One stage per
// thread keeps its buffers from read to read, so that a registry read again and again
// (every switch to it, every cleared filter) writes into memory it already has.
class TStagedRows {
public:
    static TStagedRows& Start(int LineCount, bool Sort) {
        static thread_local TStagedRows stage;
        stage.m_lines = size_t(LineCount);
        stage.m_sort = Sort;
        stage.m_bytes.clear();
        stage.m_ends.clear();
        stage.m_rows.clear();
        stage.m_order.clear();
        return stage;
    }

    void Add(qint64 ID, qint64 Owner, TFace Face, const std::string_view* Lines, std::string_view Key) {
        const size_t from = m_bytes.size();
        for (size_t l = 0; l < m_lines; ++l) {
            m_bytes.append(Lines[l]);
            m_ends.push_back(m_bytes.size());
        }
        TStaged r{from, m_bytes.size(), 0, Face, ID, Owner};
        if (m_sort) {
            r.keySize = uint32_t(Key.size());
            m_bytes.append(Key);
            m_order.push_back({Prefix(r, 0), uint32_t(m_rows.size())});
        }
        m_rows.push_back(r);
    }

    // Every row, in key order when sorting, into Rows (lines decoded to UTF-16).
    void MoveInto(TRows& Rows) {
        if (m_sort)
            SortRun(m_order.begin(), m_order.end(), 0);
        else
            for (uint32_t i = 0; i < m_rows.size(); ++i)
                m_order.push_back({0, i});
        for (const TKeyed& k : m_order) {
            const TStaged& r = m_rows[k.row];
            Rows.ids.push_back(r.id);
            Rows.owners.push_back(r.owner);
            Rows.faces.push_back(r.face);
            size_t from = r.from;
            for (size_t l = 0; l < m_lines; ++l) {
                const size_t to = m_ends[k.row * m_lines + l];
                SqlNative::AppendUtf8(std::string_view(m_bytes).substr(from, to - from), Rows.text);
                EndLine(Rows);
                from = to;
            }
        }
    }

private:
    struct TStaged {
        size_t from; // the row's first line in the shared bytes
        size_t key;  // its sort key there
        uint32_t keySize;
        TFace face;
        qint64 id;
        qint64 owner;
    };
    struct TKeyed {
        quint64 prefix; // the key's first eight bytes, the first the highest
        uint32_t row;
    };

    using TIter = std::vector<TKeyed>::iterator;

    // Eight bytes of a key from Offset, the first the highest, zeros past its end.
    quint64 Prefix(const TStaged& R, size_t Offset) const {
        quint64 prefix = 0;
        for (size_t i = Offset; i < Offset + 8; ++i)
            prefix = (prefix << 8) | (i < R.keySize ? quint8(m_bytes[R.key + i]) : 0u);
        return prefix;
    }

    // Sorts by the eight bytes at Offset, then each run that shares them by the next
    // eight: a key's bytes are fetched once a level, not at every comparison (many
    // keys begin alike: the same names). Keys equal to their end go by identifier.
    void SortRun(TIter First, TIter Last, size_t Offset) {
        std::sort(First, Last, [](const TKeyed& a, const TKeyed& b) { return a.prefix < b.prefix; });
        for (TIter run = First; run != Last;) {
            TIter end = std::next(run);
            while (end != Last && end->prefix == run->prefix)
                ++end;
            if (std::distance(run, end) > 1) {
                const size_t next = Offset + 8;
                bool longer = false;
                for (TIter k = run; k != end; ++k) {
                    longer = longer || m_rows[k->row].keySize > next;
                    k->prefix = Prefix(m_rows[k->row], next);
                }
                if (longer)
                    SortRun(run, end, next);
                else
                    std::sort(run, end, [this](const TKeyed& a, const TKeyed& b) {
                        return m_rows[a.row].id < m_rows[b.row].id;
                    });
            }
            run = end;
        }
    }

    size_t m_lines = 0;
    bool m_sort = false;
    std::string m_bytes;
    std::vector<size_t> m_ends; // end of each line in m_bytes, row after row
    std::vector<TStaged> m_rows;
    std::vector<TKeyed> m_order;
};

} // namespace

QString TRows::Line(size_t Row, int Index) const {
    const size_t k = Row * static_cast<size_t>(lineCount) + static_cast<size_t>(Index);
    const int32_t from = k == 0 ? 0 : ends[k - 1];
    return QString(reinterpret_cast<const QChar*>(text.data() + from), ends[k] - from);
}

namespace {

constexpr int kKeyColumn = 8; // the sort key, after the five columns and three lines

// The rows through the connection's own statements (a QVariant per column): where the
// engine's own interface cannot read them, and after such a read failed, since these
// report the failure, or recover a lost connection and read again.
void ReadThroughStatements(TSqlConnection& C, const QString& Sql, const QVariantList& Binds,
                           const TListSpec& Spec, bool Sort, TRows& Rows) {
    TStagedRows& stage = TStagedRows::Start(Rows.lineCount, Sort);
    const auto utf8 = [](const QVariant& V) {
        return V.typeId() == QMetaType::QByteArray ? V.toByteArray() : V.toString().toUtf8();
    };
    QByteArray texts[3];
    std::string_view lines[3];
    C.EachRow(Sql, Binds, [&](const QSqlQuery& q) {
        for (int i = 0; i < Rows.lineCount; ++i) {
            texts[i] = utf8(q.value(5 + i));
            lines[i] = std::string_view(texts[i].constData(), size_t(texts[i].size()));
        }
        const QByteArray key = Sort ? utf8(q.value(kKeyColumn)) : QByteArray();
        stage.Add(q.value(0).toLongLong(), q.value(1).toLongLong(),
                  FaceOf(Spec, q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()), lines,
                  std::string_view(key.constData(), size_t(key.size())));
    });
    stage.MoveInto(Rows);
}

// A server's rows through its client library, staged and then put into order.
void ReadServerRows(TSqlConnection& C, const QString& Sql, const QVariantList& Binds, const TListSpec& Spec,
                    bool Sort, TRows& Rows) {
    TStagedRows& stage = TStagedRows::Start(Rows.lineCount, Sort);
    std::string_view lines[3];
    const bool native = SqlServerRows::EachRow(C, Sql, Binds, [&](const SqlServerRows::TRow& r) {
        for (int i = 0; i < Rows.lineCount; ++i)
            lines[i] = r.Text(5 + i);
        stage.Add(r.Int(0), r.Int(1), FaceOf(Spec, int(r.Int(2)), int(r.Int(3)), int(r.Int(4))), lines,
                  Sort ? r.Text(kKeyColumn) : std::string_view());
    });
    if (native)
        stage.MoveInto(Rows);
    else
        ReadThroughStatements(C, Sql, Binds, Spec, Sort, Rows);
}

// Every record of a kind, or a registry of subjects: the long lists, read again and again.
bool WholeKind(const TListSpec& Spec) {
    return Spec.scope == TScope::scAll || Spec.scope == TScope::scRegistry;
}

// A whole registry is read again and again (every switch to it, every cleared filter):
// its buffers are reserved at the sizes they last had, so that they do not grow by copies
// through fresh memory.
class TSizeHint {
public:
    TSizeHint(const TListSpec& Spec, bool Unfiltered)
        : m_whole(Unfiltered && WholeKind(Spec)),
          m_key(Spec.kind * 8 + Spec.role) {}

    void Reserve(TRows& Rows) const {
        if (!m_whole)
            return;
        const TSizes s = Hints().value(m_key);
        Rows.text.reserve(s.text);
        Rows.ids.reserve(s.rows);
        Rows.owners.reserve(s.rows);
        Rows.faces.reserve(s.rows);
        Rows.ends.reserve(s.rows * static_cast<size_t>(Rows.lineCount));
    }
    void Remember(const TRows& Rows) const {
        if (m_whole)
            Hints().insert(m_key, {Rows.text.size() + Rows.text.size() / 16, Rows.size() + Rows.size() / 16});
    }

private:
    struct TSizes {
        size_t text = 0;
        size_t rows = 0;
    };
    static QHash<int, TSizes>& Hints() {
        static thread_local QHash<int, TSizes> hints;
        return hints;
    }
    bool m_whole;
    int m_key;
};

// A file's rows through the engine's C interface (the connection's statements where it
// cannot), in the order the statement gives.
void ReadFileRows(TSqlConnection& C, const QString& Sql, const QVariantList& Binds, const TListSpec& Spec,
                  TRows& Rows) {
    const auto fromFile = [&Rows, &Spec](sqlite3_stmt* q) {
        Rows.ids.push_back(sqlite3_column_int64(q, 0));
        Rows.owners.push_back(sqlite3_column_int64(q, 1));
        Rows.faces.push_back(
            FaceOf(Spec, sqlite3_column_int(q, 2), sqlite3_column_int(q, 3), sqlite3_column_int(q, 4)));
        for (int i = 0; i < Rows.lineCount; ++i) {
            SqlNative::AppendText(q, 5 + i, Rows.text);
            EndLine(Rows);
        }
    };
    if (!SqlNative::EachRow(C, Sql, Binds, fromFile))
        ReadThroughStatements(C, Sql, Binds, Spec, false, Rows);
}

// A server's list, kept on the desk and read again only when a commit has raised a change
// counter since. Inside a transaction the desk's own uncommitted writes count, which no
// counter shows yet: read there, and not kept.
void ReadServerList(TSqlConnection& C, const QString& Sql, const QVariantList& Binds, const TListSpec& Spec,
                    bool Sort, const TSizeHint& Hint, TRows& Rows) {
    if (!WholeKind(Spec) || C.InWriteScope() || C.InUserTransaction()) {
        Hint.Reserve(Rows);
        ReadServerRows(C, Sql, Binds, Spec, Sort, Rows);
        return;
    }
    const SqlListCache::TKey key{C.ConnectionName(), Sql, Binds, int(Spec.face), Rows.lineCount};
    // Read before the rows: a commit between the two makes the kept rows newer than their
    // version, which costs no more than one more read.
    const qint64 version = C.Scalar(C.Dialect().DataVersion(), {}, 0).toLongLong();
    if (SqlListCache::Find(key, version, Rows))
        return;
    Hint.Reserve(Rows);
    ReadServerRows(C, Sql, Binds, Spec, Sort, Rows);
    SqlListCache::Keep(key, version, Rows);
}

} // namespace

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
    const bool server = C.Dialect().ServerLiveness();
    const bool sortHere = byKey && server;
    if (sortHere)
        sql.replace(0, kColumns.size(), kColumns.trimmed() + QStringLiteral(", r.sort_key "));
    else
        sql += byKey ? QStringLiteral(" ORDER BY r.sort_key, r.id") : QStringLiteral(" ORDER BY r.id");
    TRows rows;
    rows.lineCount = std::min(SqlDescribe::LineCount(Spec.kind), 3);
    const TSizeHint hint(Spec, needle.isEmpty());
    if (server) {
        ReadServerList(C, sql, binds, Spec, sortHere, hint, rows);
    } else {
        hint.Reserve(rows);
        ReadFileRows(C, sql, binds, Spec, rows);
    }
    hint.Remember(rows);
    return rows;
}

} // namespace SqlCollections
