#pragma once
// Texts of connection parameters as the settings window handles them: the
// display with every password hidden, the history split into entries and joined
// again, the test that finds the chosen configuration among the stored ones, and
// the database file a parameter names.

#include <QString>
#include <QStringList>

namespace DBParamText {

// The parameter as shown: the value of every key whose name holds "PASSWORD" or
// "PWD" (any letter case, anywhere, the last key too) replaced by one "*" per
// character, read as the backend reads it (ParamText): from just after "=" to the ";"
// that ends it outside quotes and braces, or the end.
QString Masked(const QString& Param);

// History entries: the text split at "@", empty pieces dropped.
QStringList SplitHistory(const QString& History);
// Every entry followed by "@", empty entries left out.
QString JoinHistory(const QStringList& Entries);

// How a stored parameter matches the chosen one.
enum class TMatch {
    None,
    Contained, // its text before "BACKUP" (all of it without one) lies inside the chosen one
    Exact      // equal, ignoring letter case
};
// Comparisons ignore letter case; an empty text before "BACKUP" matches nothing.
TMatch MatchChosen(const QString& Param, const QString& Chosen);

// The path of the database file: the value of "DIR" (any letter case) as the backend
// reads it, empty when the parameter has none.
QString DirPath(const QString& Param);

} // namespace DBParamText
