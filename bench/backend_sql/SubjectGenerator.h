#pragma once
// Fills a database with generated subjects (taxpayers, their employees and
// contractors, one address each). The schema is created by connecting the backend
// first; description lines come from the backend's own describing code. A file is
// filled through the SQLite C API, a server database through Qt's MySQL driver with
// multi-row inserts; both in one transaction, with the same rows.

#include <QString>

namespace SubjectGenerator {

// Creates Path (removing an older file) with Count subjects; false on failure.
bool Generate(const QString& Path, int Count, QString& Error);
// Fills the empty database DataBase on the server at Socket (as root) with Count
// subjects, creating the schema first; false on failure.
bool GenerateOnServer(const QString& Socket, const QString& DataBase, int Count, QString& Error);
// Number of stored subjects in an existing file, -1 when it cannot be read.
int StoredSubjects(const QString& Path);
// Generates Path unless it already holds Count subjects; reports the time or the
// failure on standard error.
bool EnsureGenerated(const QString& Path, int Count);

} // namespace SubjectGenerator
