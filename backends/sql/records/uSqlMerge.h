#pragma once
// Merging two stored records of one kind that stand for the same thing: the chosen values
// go into the kept record, every section, link and relation of the dropped record moves to
// the kept one, as do its pairs marked as no duplicates, and the dropped record is deleted,
// in one write transaction. Nothing is
// written when either record is locked by another session (105), when the two are of
// different kinds or the same record, or when the merge would relate a subject to itself.

#include "uSqlConnection.h"

#include <QList>
#include <QPair>
#include <QString>

namespace SqlMerge {

using TValues = QList<QPair<QString, QString>>; // symbol, value

void Merge(TSqlConnection& C, qint64 Keep, qint64 Drop, const TValues& Values);

} // namespace SqlMerge
