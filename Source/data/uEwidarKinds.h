#pragma once
// The fixed kind orders of the data-access contract, written once: record-kind
// positions 1-21 (used by the per-kind providers), top-level kinds, "same kind"
// of two records, and the family of a collection with its item operations.

#include "uEwidarQuorDBIntf.h"

namespace EwidarKinds {

constexpr int32_t KindCount = 21;
constexpr int32_t PodmiotPosition = 21;

// Identifier of the record kind at a position 1-21; nullptr outside that range.
const TGUID* KindIID(int32_t Position);
// Interface name of the kind at a position ("IAdres"), empty outside 1-21.
const char* KindName(int32_t Position);
// First position 1-21 whose kind the record supports; 0 when none.
int32_t KindPosition(IInterface* Record);
// Records that stand in a registry of their own and may be opened on their own.
bool IsTopLevel(IInterface* Record);
// Both records support the same record kind of the position list.
bool SameKind(IInterface* A, IInterface* B);

enum class TCollectionFamily { cfNone, cfSections, cfLists, cfPeople, cfAllSubjects };

TCollectionFamily CollectionFamily(IInterface* Collection);
// The record at a zero-based index, whatever the family; empty when none.
TIntfPtr<IEwidarRecord> CollectionGetItem(IInterface* Collection, int32_t Index);
// A new record of the item kind; empty for the list of all subjects (nothing can be added there).
TIntfPtr<IEwidarRecord> CollectionNew(IInterface* Collection);

} // namespace EwidarKinds
