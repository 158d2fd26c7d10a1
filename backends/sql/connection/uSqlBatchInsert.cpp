#include "uSqlBatchInsert.h"

#include <QSqlRecord>

#include <algorithm>
#include <bit>

namespace {

constexpr qsizetype kBindsPerStatement = 4000;
// A statement also ends once its values hold this many characters: a server refuses a
// statement longer than its packet limit (16 MB by default, 1 MB at the least in use),
// and rows with long notes would otherwise gather into one; ordinary rows stay far
// below. A single longer row still goes alone.
constexpr qsizetype kCharsPerStatement = 256 * 1024;

qsizetype CharsOf(const QVariant& V) {
    switch (V.typeId()) {
    case QMetaType::QString:
        return V.toString().size();
    case QMetaType::QByteArray:
        return V.toByteArray().size();
    default:
        return 8;
    }
}

} // namespace

TSqlBatchInsert::TSqlBatchInsert(TSqlConnection& To, QString Table, QStringList Columns, int FailCode,
                                 std::function<void(qint64)> Copied)
    : m_to(To), m_table(std::move(Table)), m_columns(std::move(Columns)), m_code(FailCode),
      m_copied(std::move(Copied)) {
    if (!m_columns.isEmpty())
        m_perStatement = std::max<qsizetype>(1, kBindsPerStatement / m_columns.size());
}

void TSqlBatchInsert::Add(const QVariantList& Row) {
    for (const QVariant& v : Row)
        m_chars += CharsOf(v);
    m_binds << Row;
    RowAdded();
}

void TSqlBatchInsert::AddFrom(const QSqlQuery& Q) {
    if (m_columns.isEmpty()) {
        const QSqlRecord r = Q.record();
        for (int i = 0; i < r.count(); ++i)
            m_columns << r.fieldName(i);
        m_perStatement = std::max<qsizetype>(1, kBindsPerStatement / m_columns.size());
    }
    for (int i = 0; i < int(m_columns.size()); ++i) {
        const QVariant v = Q.isNull(i) ? QVariant() : Q.value(i);
        m_binds << (v.typeId() == QMetaType::QByteArray ? QVariant(QString::fromUtf8(v.toByteArray())) : v);
        m_chars += CharsOf(m_binds.constLast());
    }
    RowAdded();
}

void TSqlBatchInsert::RowAdded() {
    if (++m_rows == m_perStatement || m_chars >= kCharsPerStatement)
        Flush();
}

// A full statement goes as it is; fewer rows go as statements of 2^k rows each, so that
// a table's copy prepares (and the connection keeps) a few statement texts, not one per
// row count that long values or the table's end happened to leave.
void TSqlBatchInsert::Flush() {
    if (m_rows == 0)
        return;
    const qsizetype columns = m_columns.size();
    qsizetype first = 0;
    while (first < m_rows) {
        const qsizetype rest = m_rows - first;
        const qsizetype n = rest == m_perStatement ? rest : qsizetype(std::bit_floor(size_t(rest)));
        Send(first * columns, n);
        first += n;
    }
    m_binds.clear();
    m_rows = 0;
    m_chars = 0;
}

void TSqlBatchInsert::Send(qsizetype FirstBind, qsizetype Rows) {
    const qsizetype columns = m_columns.size();
    const QString row = u'(' + QStringList(columns, QStringLiteral("?")).join(u',') + u')';
    m_to.Exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                  .arg(m_table, m_columns.join(u','), QStringList(Rows, row).join(u',')),
              m_binds.mid(FirstBind, Rows * columns), m_code);
    if (m_copied)
        m_copied(Rows);
}
