#pragma once
// Fills a database file with generated subjects (taxpayers, their employees and
// contractors, one address each) straight through the SQLite C API, in one
// transaction with prepared statements. The schema is created by connecting the
// backend first; description lines come from the backend's own describing code.

#include <QString>

namespace SubjectGenerator {

// Creates Path (removing an older file) with Count subjects; false on failure.
bool Generate(const QString& Path, int Count, QString& Error);
// Number of stored subjects in an existing file, -1 when it cannot be read.
int StoredSubjects(const QString& Path);
// Generates Path unless it already holds Count subjects; reports the time or the
// failure on standard error.
bool EnsureGenerated(const QString& Path, int Count);

} // namespace SubjectGenerator
