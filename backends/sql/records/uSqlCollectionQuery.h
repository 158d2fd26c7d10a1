#pragma once
// What a collection lists and how its rows are read: the scope (all records of a
// kind, a registry, the sections of an owner, the records that link to one, the
// people of a taxpayer ...), the filter and the activity, turned into one query.

#include "uSqlConnection.h"
#include "uSqlKinds.h"

#include <QString>

#include <string>
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

// The rows of a list, their description lines in one buffer (no object per row).
struct TRows {
    int lineCount = 0; // lines kept per row: the kind's own number, at most 3
    std::vector<qint64> ids;
    std::vector<qint64> owners;
    std::vector<SqlKinds::TFace> faces;
    std::u16string text;
    std::vector<int32_t> ends; // end of each line in text, row after row
    bool lent = false;         // text and ends were handed over (IEwidarRowReader)

    size_t size() const { return ids.size(); }
    QString Line(size_t Row, int Index) const;
};

// Registry flags of TScope::scRegistry.
enum TRegistry { rgPodatnicy = 1, rgPracownicy = 2, rgKontrahenci = 3 };

// Reads the rows of a list. Filter: raw text as typed (case-insensitive substring of
// any description line); Activity: 0 all, 1 active, 2 inactive (people lists only).
TRows ReadRows(TSqlConnection& C, const TListSpec& Spec, const QString& Filter, int Activity);

} // namespace SqlCollections
