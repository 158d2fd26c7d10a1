#pragma once
// The groups of subject fields that the structure tree reads and the report shows as
// one section, in their order; shared by the tree builder and the report.

#include "uEwidarQuorDBSymbole.h"

#include <vector>

namespace PodatnikInfoSymbols {

using TSymbolList = std::vector<const TInternalFieldRecord*>;

// The personal data of the subject.
const TSymbolList& Personal();
// The entry in a register of businesses.
const TSymbolList& Registry();
const TSymbolList& Contact();
// The tax office 1 or 2: its competence flags first, then name, head, address and accounts.
const TSymbolList& TaxOffice(int Office);
// The form of tax payment and of the accounts kept.
const TSymbolList& TaxForms();
// Where the accounting records are kept.
const TSymbolList& AccountingAddress();
const TSymbolList& OtherTax();
const TSymbolList& PersonalOther();
const TSymbolList& Disability();
const TSymbolList& Pension();

} // namespace PodatnikInfoSymbols
