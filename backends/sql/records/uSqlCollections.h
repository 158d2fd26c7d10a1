#pragma once
// Collection objects of the three families and of the list of all subjects. A
// collection reads its rows when first used after a change (its own filter, or a
// change of records of its kind announced by the connection), and raises its
// OnChange event when that announcement comes.

#include "uEwidarQuorDBIntf.h"
#include "uSqlCollectionQuery.h"

namespace SqlCollections {

// A collection of interface I (IAdresy, IPodatnicy, IPracownicy, IPodmioty ...) over Spec.
template <class I>
TIntfPtr<I> Make(const TSqlConnectionPtr& C, const TListSpec& Spec, const QString& Filter = {});

} // namespace SqlCollections
