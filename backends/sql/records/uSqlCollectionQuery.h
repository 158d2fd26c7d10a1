#pragma once
// What a collection lists and how its rows are read: the scope (all records of a
// kind, a registry, the sections of an owner, the records that link to one, the
// people of a taxpayer ...), the filter and the activity, turned into one query.

#include "uSqlConnection.h"
#include "uSqlKinds.h"

#include <QString>

#include <array>
#include <vector>

namespace SqlCollections {

enum class TScope {
    scAll,         // every stored record of the kind
    scRegistry,    // subjects with a registry flag (role: 1 taxpayers, 2 employees, 3 contractors)
    scOwner,       // records owned by anchor (sections, accounts, partners ...)
    scReferencing, // records whose link of the role points to anchor
    scPeopleOf,    // people of taxpayer anchor in the person role
    scTaxpayersOf, // taxpayers that person anchor is linked to in the person role
    scRelated,     // subjects linked to subject anchor as taxpayer or person
};

struct TListSpec {
    int kind = 0;
    TScope scope = TScope::scAll;
    qint64 anchor = 0;
    int role = 0;
    bool readOnly = false; // New is refused (lists derived from links)
    SqlKinds::TFace face = SqlKinds::TFace::fPodmiot;
};

struct TRow {
    qint64 id = 0;
    qint64 owner = 0;
    SqlKinds::TFace face = SqlKinds::TFace::fPodmiot;
    std::array<QString, 3> lines;
};

// Registry flags of TScope::scRegistry.
enum TRegistry { rgPodatnicy = 1, rgPracownicy = 2, rgKontrahenci = 3 };

// Reads the rows of a list. Filter: raw text as typed (case-insensitive substring of
// any description line); Activity: 0 all, 1 active, 2 inactive (people lists only).
std::vector<TRow> ReadRows(TSqlConnection& C, const TListSpec& Spec, const QString& Filter, int Activity);

} // namespace SqlCollections
