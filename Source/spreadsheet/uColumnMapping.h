#pragma once
// Which subject field each column of a file fills. A mapping the operator confirmed is
// remembered in the settings under the file's header line, so the next file with the
// same header opens mapped the same way; otherwise columns are matched by caption.

#include <QList>
#include <QStringList>

namespace ColumnMapping {

// One entry per column: the index into SubjectFields::Fields(), -1 for a column not imported.
using TMapping = QList<int>;

// The remembered mapping of this header, else the columns whose caption names a field
// (letter case, diacritics and punctuation ignored; each field taken once).
TMapping Guess(const QStringList& Header);
TMapping ByCaption(const QStringList& Header);
// Empty when none is remembered for this header (or the settings cannot be read).
TMapping Remembered(const QStringList& Header);
// False when the settings cannot be written.
bool Remember(const QStringList& Header, const TMapping& Mapping);
// A caption reduced for comparison: lower case, ASCII letters for Polish ones, letters and digits only.
QString Normalized(const QString& Caption);

} // namespace ColumnMapping
