#pragma once
// Error codes the backend reports through GetLastErrorCode, their Polish texts and
// links for the GetLastError export, the internal failure type that carries a code
// to the interface boundary with the guards that turn it into an error code there,
// and the mapping of SQLite result codes.

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
    ecEmptyName = 1001,            // blank group name or login
    ecDuplicateLogin = 1002,       // another operator has the login (ignoring case)
    ecNoAdministrator = 1003,      // operators would be left without one who may manage them
    ecPassword = 1004,             // the password could not be hashed or checked
    ecDuplicateSymbol = 1005,      // a field of the kind already has the symbol (ignoring case)
    ecIncompleteDefinition = 1006, // a definition without symbol, description or kind
    ecNoWindow = 1007,             // the parameter dialog needs a widgets application
    ecRecordChanged = 1008,        // another session posted the record since this one read it
    ecSessionLost = 1009,          // another connection purged this session as dead
    ecNetworkFile = 1010,          // the database file lies on a network file system
    ecNotLoggedIn = 1011,          // operators exist and nobody is logged in on this connection
    ecNoRightView = 1012,          // the operator's group lacks "Przeglądanie danych"
    ecNoRightModify = 1013,        // ... "Modyfikacja danych"
    ecNoRightCreate = 1014,        // ... "Tworzenie usuwanie danych"
    ecNoRightOperators = 1015,     // ... "Zarządzanie operatorami"
    // Backups and restore.
    ecBackupFailed = 1040,        // the backup could not be written or did not verify
    ecBackupCancelled = 1041,     // the operator stopped a backup or a restore
    ecNotBackup = 1042,           // the file is not a backup of this program
    ecBackupDamaged = 1043,       // checksum, manifest or counts disagree
    ecBackupTruncated = 1044,     // the file ends before its end
    ecBackupWrongPassword = 1045, // the password does not open the encrypted backup
    ecBackupPassword = 1046,      // the backup is encrypted and no password was given
    ecBackupNewer = 1047,         // the backup comes from a newer version of the program
    ecRestoreFailed = 1048,       // the restore failed and was rolled back
    ecMergeKinds = 1016,           // a merge of records of two kinds (or of a record not stored)
    ecMergeSelf = 1017,            // a merge of a record with itself
    ecMergeOwnRelation = 1018,     // a merge would make a subject its own employee, partner or representative
};

// Whether the code is a refusal of the access rules (nobody logged in, a missing right).
inline bool IsAccessCode(int32_t Code) {
    return Code >= ecNotLoggedIn && Code <= ecNoRightOperators;
}

// Polish text and help link of a code; false for a code this backend never sets.
bool Describe(int32_t Code, QString& Text, QString& Link);

// The last failure that reached an interface method on the calling thread: its code,
// the engine's own message (may be empty) and the database it came from (empty when
// unknown). GetLastError adds the message only for that failure, never for an older one.
void NoteFailure(int32_t Code, const QString& Native, const QString& DataBaseID);
// The engine's message of the last failure when it carried Code (and came from
// DataBaseID, when it names one); empty otherwise.
QString DetailsFor(int32_t Code, const QString& DataBaseID);

// Code for a failed statement: busy/locked -> 23, read-only -> 200, not a database
// -> 5, corrupt -> 101, constraint -> Fallback for others.
int32_t FromSqlError(const QSqlError& Error, int32_t Fallback);

// The code of the exception being handled, noted as the thread's last failure; call
// only inside the catch block of an interface method.
int32_t CaughtCode() noexcept;

} // namespace SqlErrors

// Thrown inside the backend and turned into an error code at every interface method.
class TSqlFailure : public std::exception {
public:
    TSqlFailure(int32_t Code, QString Native = {}, QString DataBaseID = {})
        : m_code(Code), m_native(std::move(Native)), m_db(std::move(DataBaseID)) {}
    int32_t Code() const { return m_code; }
    const QString& Native() const { return m_native; }
    const QString& DataBaseID() const { return m_db; }
    const char* what() const noexcept override { return "TSqlFailure"; }

private:
    int32_t m_code;
    QString m_native;
    QString m_db;
};

[[noreturn]] inline void Fail(int32_t Code, const QString& Native = {}) {
    throw TSqlFailure(Code, Native);
}

// Runs Body, resetting Error first; on any exception stores its code and returns Fallback.
template <class R, class F> R Guarded(int32_t& Error, R Fallback, F&& Body) noexcept {
    Error = 0;
    try {
        return Body();
    } catch (...) {
        Error = SqlErrors::CaughtCode();
        return Fallback;
    }
}

template <class F> bool GuardedBool(int32_t& Error, F&& Body) noexcept {
    return Guarded(Error, false, [&] {
        Body();
        return true;
    });
}
