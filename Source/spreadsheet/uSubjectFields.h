#pragma once
// The subject fields a spreadsheet column can be mapped to: the subject's own fields, the
// parts of its first address and the number of its first bank account. Each names the
// check its value must pass. Reading a subject gives the values in the same order, so
// an export of these fields imports back column for column.

#include "uEwidarQuorDBIntf.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace SubjectFields {

// Where a field's value is stored.
enum TTarget { tgSubject, tgAddress, tgAccount };
// What a value must be.
enum TCheck { ckNone, ckNip, ckRegon, ckPesel, ckPostalCode, ckEmail, ckAccount, ckDate };

struct TField {
    QString Key;     // stable name, kept in the remembered mappings
    QString Caption; // column caption on export and in the mapping list
    TTarget Target;
    QString Symbol;  // field symbol in the record of the target
    TCheck Check;
};

const std::vector<TField>& Fields();
// Index of the field with Key; -1 for none.
int IndexOfKey(const QString& Key);
QStringList Captions();

// The subject's values in field order (empty where the subject has no address or account).
QStringList ReadSubject(IEwidarRecord* Subject);

} // namespace SubjectFields
