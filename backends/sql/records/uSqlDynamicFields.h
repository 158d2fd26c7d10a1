#pragma once
// User-defined field definitions of each record kind (ew_field): the provider
// of the root object, the definitions of one kind and one definition. A
// definition is stored or deleted at once; the values stored under its symbol
// stay in the records whatever happens to the definition, and every record of
// the kind offers a data field for each defined symbol.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

#include <QStringList>

#include <vector>

TIntfPtr<IEwidarDynamicFieldsProvider> MakeDynamicFieldsProvider(const TSqlConnectionPtr& C);

namespace SqlDynamicFields {

struct TDefinition {
    qint64 id = 0;
    int kind = 0;
    QString symbol;
    QString description;
    QString type; // editor-kind name, "ctEdit" ...
};

// The definitions of a kind and their symbols, in the order they were made.
std::vector<TDefinition> Definitions(TSqlConnection& C, int Kind);
QStringList DefinedSymbols(TSqlConnection& C, int Kind);

// Stores a new or changed definition; its symbol is trimmed and a new one gets
// its identifier. Codes: 1006 symbol, description or kind missing, 1005 the kind
// already has a fixed or defined field of the symbol (ignoring case), 106 gone.
void Store(TSqlConnection& C, TDefinition& D);
// 104 never stored, 106 already deleted.
void Remove(TSqlConnection& C, qint64 ID);
// Stores a copied definition unless the kind already has a field of its symbol or
// the copy lacks symbol, description or kind; true when it was stored. Runs in
// the caller's write transaction (the import's).
bool StoreIfFree(TSqlConnection& C, TDefinition D);

} // namespace SqlDynamicFields
