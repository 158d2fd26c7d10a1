#pragma once
// The one gate of the access rules. While the database has operators, every
// entry point that reads or changes data asks here first: nobody logged in gets
// 1011, an operator whose group lacks the level the action needs gets the code
// naming that level. A database without operators is open to everyone. The
// group's rights are read from the database at every check, so a change made by
// another desk applies at this connection's next action.

#include <QString>
#include <QVariant>

#include <cstdint>

class TSqlConnection;

namespace SqlAccess {

// The five cumulative levels of a group, one bit each. A group holds the levels
// from its lowest set bit upwards: 31 everything, 30 all but operators, 28 also
// creating and deleting, 24 also changing, 16 reading only.
enum TRight : int32_t {
    rtOperators = 1, // operators, groups, import
    rtApproved = 2,  // approved documents (none exist yet: as rtCreate)
    rtCreate = 4,    // new records, deletions, field definitions
    rtModify = 8,    // changes to stored records, links, word lists
    rtView = 16,     // lists and records
};

// Whether a group's rights value grants Right.
bool Grants(int32_t GroupRights, int32_t Right);

// Throws 1011 or the missing level's code (1012-1015) unless this connection may do
// what needs Right now.
void Demand(TSqlConnection& C, int32_t Right);

// The gate's two columns (whether operators exist, the logged-in operator's group rights,
// bound to C.Operator()), for a caller that reads them together with its own checks, and
// the verdict on what they gave, as Demand's.
QString Columns();
void Judge(TSqlConnection& C, int32_t Right, const QVariant& Operators, const QVariant& Rights);

} // namespace SqlAccess
