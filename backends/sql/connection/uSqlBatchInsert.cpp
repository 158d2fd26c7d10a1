#include "uSqlBatchInsert.h"

#include <QSqlRecord>

#include <algorithm>

namespace {
constexpr qsizetype kBindsPerStatement = 4000;
}

TSqlBatchInsert::TSqlBatchInsert(TSqlConnection& To, QString Table, QStringList Columns, int FailCode,
                                 std::function<void(qint64)> Copied)
    : m_to(To), m_table(std::move(Table)), m_columns(std::move(Columns)), m_code(FailCode),
      m_copied(std::move(Copied)) {
    if (!m_columns.isEmpty())
        m_perStatement = std::max<qsizetype>(1, kBindsPerStatement / m_columns.size());
}

void TSqlBatchInsert::Add(const QVariantList& Row) {
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
    }
    RowAdded();
}

void TSqlBatchInsert::RowAdded() {
    if (++m_rows == m_perStatement)
        Flush();
}

void TSqlBatchInsert::Flush() {
    if (m_rows == 0)
        return;
    const QString row = u'(' + QStringList(m_columns.size(), QStringLiteral("?")).join(u',') + u')';
    m_to.Exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                  .arg(m_table, m_columns.join(u','), QStringList(m_rows, row).join(u',')),
              m_binds, m_code);
    if (m_copied)
        m_copied(m_rows);
    m_binds.clear();
    m_rows = 0;
}
