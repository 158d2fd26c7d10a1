#pragma once
// Rows inserted into one table many per statement: a statement carries about 4,000
// bound values (fewer when the values are long texts), so a whole table goes in with a
// few hundred round trips rather than a statement per row. Call inside a write scope;
// Flush sends what is left.

#include "uSqlConnection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <functional>

class TSqlBatchInsert {
public:
    // Columns may be left empty when rows come from a query: its columns are taken.
    // Copied hears how many rows each statement wrote.
    TSqlBatchInsert(TSqlConnection& To, QString Table, QStringList Columns, int FailCode,
                    std::function<void(qint64)> Copied = {});
    // One row, a value per column (a null QVariant is NULL).
    void Add(const QVariantList& Row);
    // The current row of a query; a server's texts of a binary collation come as bytes,
    // which go in as UTF-8 texts (SQLite would store them as blobs).
    void AddFrom(const QSqlQuery& Q);
    void Flush();

private:
    void RowAdded();
    void Send(qsizetype FirstBind, qsizetype Rows);

    TSqlConnection& m_to;
    QString m_table;
    QStringList m_columns;
    int m_code;
    std::function<void(qint64)> m_copied;
    qsizetype m_perStatement = 1;
    qsizetype m_rows = 0;
    qsizetype m_chars = 0;
    QVariantList m_binds;
};
