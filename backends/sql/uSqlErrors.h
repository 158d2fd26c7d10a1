#pragma once
// Error codes the backend reports through GetLastErrorCode, their Polish texts and
// links for the GetLastError export, the internal failure type that carries a code
// to the interface boundary, and the mapping of SQLite result codes.

#include <QString>

#include <cstdint>
#include <exception>

class QSqlError;

namespace SqlErrors {

enum TCode : int32_t {
    ecNone = 0,
    ecEmptyQuery = 1,
    ecNoConnection = 2,
    ecQuery = 3,
    ecCreateFolder = 4,
    ecOpen = 5,
    ecClose = 6,
    ecStartTransaction = 7,
    ecCommit = 8,
    ecBlobWrite = 9,
    ecBlobRead = 10,
    ecFieldType = 11,
    ecNoPrimaryKeyTable = 12,
    ecPortNotNumber = 13,
    ecNotFound = 14,
    ecMySqlNoServer = 20,
    ecBadLogin = 21,
    ecMySqlLost = 22,
    ecFileLocked = 23,
    ecNoColumn = 24,
    ecCriticalOpen = 101,
    ecCriticalClose = 102,
    ecNoLink = 103,
    ecNoPrimaryKey = 104,
    ecRecordLocked = 105,
    ecRecordDeleted = 106,
    ecReadOnly = 200,
    ecDeleteFailed = 201,
    ecReferenced = 202,
    ecImport = 203,
    ecImportCancelled = 204,
    ecMerge = 205,
    // Outside the program's catalogue: shown with the backend's own text.
    ecNotAvailable = 1001,
};

// Polish text and help link of a code; false for a code this backend never sets.
bool Describe(int32_t Code, QString& Text, QString& Link);

// Remembers the engine's own message of the last failure of a database, so that
// GetLastError can add it to the text. Thread safe.
void RememberNative(const QString& DataBaseID, const QString& Message);
QString LastNative(const QString& DataBaseID);

// Code for a failed statement: busy/locked -> 23, read-only -> 200, not a database
// -> 5, corrupt -> 101, constraint -> Fallback for others.
int32_t FromSqlError(const QSqlError& Error, int32_t Fallback);

// The code of the exception being handled; call only inside a catch block.
int32_t CaughtCode() noexcept;

} // namespace SqlErrors

// Thrown inside the backend and turned into an error code at every interface method.
class TSqlFailure : public std::exception {
public:
    TSqlFailure(int32_t Code, QString Native = {}) : m_code(Code), m_native(std::move(Native)) {}
    int32_t Code() const { return m_code; }
    const QString& Native() const { return m_native; }
    const char* what() const noexcept override { return "TSqlFailure"; }

private:
    int32_t m_code;
    QString m_native;
};

[[noreturn]] inline void Fail(int32_t Code, const QString& Native = {}) {
    throw TSqlFailure(Code, Native);
}
