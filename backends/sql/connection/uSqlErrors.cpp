#include "uSqlErrors.h"

#include <QSqlError>

#include <map>

namespace SqlErrors {

namespace {

struct TEntry {
    const char* text;
    const char* link;
};

// Where the refusals of the access rules are explained.
constexpr const char* kAccessLink = "https://owasp.org/Top10/A01_2021-Broken_Access_Control/";
// Where the backup file is checked when it is read.
constexpr const char* kBackupLink = "https://www.sqlite.org/pragma.html#pragma_quick_check";

const std::map<int32_t, TEntry>& Entries() {
    static const std::map<int32_t, TEntry> entries = {
        {ecEmptyQuery, {"Puste zapytanie do bazy danych.", "https://www.sqlite.org/lang.html"}},
        {ecNoConnection,
         {"Brak połączenia z bazą danych. Połącz się z bazą przed wykonaniem tej operacji.",
          "https://www.sqlite.org/c3ref/open.html"}},
        {ecQuery,
         {"Błąd podczas wykonywania zapytania w bazie danych.", "https://www.sqlite.org/rescode.html"}},
        {ecCreateFolder,
         {"Nie można utworzyć katalogu lub pliku bazy danych: błędna ścieżka albo brak praw zapisu.",
          "https://www.sqlite.org/rescode.html#cantopen"}},
        {ecOpen,
         {"Błąd podczas otwierania bazy danych: plik nie istnieje, nie jest bazą danych lub jest uszkodzony.",
          "https://www.sqlite.org/rescode.html#notadb"}},
        {ecClose, {"Błąd podczas zamykania bazy danych.", "https://www.sqlite.org/c3ref/close.html"}},
        {ecStartTransaction,
         {"Błąd podczas otwierania transakcji w bazie danych (transakcja jest już otwarta lub baza jest "
          "zajęta).",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecCommit,
         {"Błąd podczas zamykania transakcji w bazie danych: transakcja nie była otwarta albo została "
          "wycofana.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecFieldType,
         {"Błędny typ danych: wskazany rekord nie jest rekordem rodzaju, który można tu powiązać.",
          "https://www.sqlite.org/datatype3.html"}},
        {ecNoPrimaryKeyTable, {"Brak klucza głównego.", "https://www.sqlite.org/lang_createtable.html"}},
        {ecNotFound,
         {"Nie znaleziono bazy danych we wskazanej lokalizacji.", "https://www.sqlite.org/c3ref/open.html"}},
        {ecMySqlNoServer,
         {"Brak połączenia z serwerem MySQL: serwer nie działa albo jest nieosiągalny pod wskazanym adresem.",
          "https://mariadb.com/kb/en/mariadb-error-codes/"}},
        {ecMySqlLost,
         {"Utracono połączenie z serwerem MySQL (serwer zatrzymany lub uruchomiony ponownie albo zerwane "
          "połączenie sieciowe). Zmiany niezatwierdzone w chwili zerwania zostały wycofane; następna "
          "operacja "
          "połączy się z serwerem ponownie.",
          "https://mariadb.com/kb/en/mariadb-error-codes/"}},
        {ecFileLocked,
         {"Plik bazy danych jest aktualnie zablokowany przez inny program. Spróbuj ponownie za chwilę.",
          "https://www.sqlite.org/rescode.html#busy"}},
        {ecNoColumn, {"Nie odnaleziono kolumny.", "https://www.sqlite.org/lang_altertable.html"}},
        {ecCriticalOpen,
         {"Krytyczny błąd podczas otwierania bazy danych: plik należy do innego programu, pochodzi z nowszej "
          "wersji "
          "lub jest uszkodzony.",
          "https://www.sqlite.org/pragma.html#pragma_integrity_check"}},
        {ecCriticalClose,
         {"Krytyczny błąd podczas zamykania bazy danych.", "https://www.sqlite.org/c3ref/close.html"}},
        {ecNoLink,
         {"Brak połączenia: połączenie z bazą danych zostało zamknięte.",
          "https://www.sqlite.org/c3ref/open.html"}},
        {ecNoPrimaryKey,
         {"Brak klucza głównego: rekord nie został jeszcze zapisany w bazie danych.",
          "https://www.sqlite.org/lang_createtable.html#rowid"}},
        {ecRecordLocked,
         {"Dane aktualnie są zablokowane, inny użytkownik jest w trakcie edycji.",
          "https://www.sqlite.org/lockingv3.html"}},
        {ecRecordDeleted,
         {"Dane zostały usunięte przez innego użytkownika.", "https://www.sqlite.org/lang_delete.html"}},
        {ecReadOnly,
         {"Dane są tylko do odczytu: brak praw zapisu do pliku bazy danych lub jego katalogu.",
          "https://www.sqlite.org/rescode.html#readonly"}},
        {ecDeleteFailed,
         {"Katastrofalny błąd podczas usuwania danych.", "https://www.sqlite.org/lang_delete.html"}},
        {ecReferenced,
         {"Nie można usunąć danych powiązanych z innymi danymi.", "https://www.sqlite.org/foreignkeys.html"}},
        {ecBadLogin,
         {"Błędna nazwa użytkownika lub hasło.", "https://libsodium.gitbook.io/doc/password_hashing"}},
        {ecImport,
         {"Katastrofalny błąd podczas importu danych: import wycofano, baza docelowa pozostała bez zmian.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecImportCancelled,
         {"Import danych przerwany przez użytkownika: baza docelowa pozostała bez zmian.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecMerge,
         {"Katastrofalny błąd podczas scalania danych: scalanie wycofano, oba rekordy pozostały bez zmian.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecEmptyName,
         {"Nazwa grupy operatorów i login operatora nie mogą być puste.",
          "https://www.sqlite.org/lang_createtable.html#notnullconst"}},
        {ecDuplicateLogin,
         {"Operator o takim loginie już istnieje (wielkość liter nie ma znaczenia).",
          "https://www.sqlite.org/lang_createtable.html#uniqueconst"}},
        {ecNoAdministrator,
         {"Zmiana pozostawiłaby operatorów bez administratora: co najmniej jeden operator musi należeć do "
          "grupy z prawem zarządzania operatorami.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecPassword,
         {"Nie można zabezpieczyć ani sprawdzić hasła (biblioteka libsodium nie działa lub brakuje pamięci).",
          "https://libsodium.gitbook.io/doc/password_hashing"}},
        {ecDuplicateSymbol,
         {"Pole o takim symbolu już istnieje w tym rodzaju danych (wielkość liter nie ma znaczenia).",
          "https://www.sqlite.org/lang_createtable.html#uniqueconst"}},
        {ecIncompleteDefinition,
         {"Definicja pola wymaga symbolu, opisu i typu pola.",
          "https://www.sqlite.org/lang_createtable.html#notnullconst"}},
        {ecNoWindow,
         {"Okno parametrów połączenia wymaga aplikacji z interfejsem graficznym.",
          "https://doc.qt.io/qt-6/qapplication.html"}},
        {ecRecordChanged,
         {"Dane zostały zmienione przez innego użytkownika od chwili ich odczytania. Zmiany nie zostały "
          "zapisane: odśwież dane i wprowadź zmiany ponownie.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecSessionLost,
         {"Połączenie z bazą danych zostało uznane za nieaktywne i zamknięte przez inne stanowisko, a jego "
          "blokady zwolnione. Zmiany nie zostały zapisane: połącz się z bazą ponownie.",
          "https://www.sqlite.org/lockingv3.html"}},
        {ecNetworkFile,
         {"Plik bazy danych SQLite leży na dysku sieciowym (NFS, SMB/CIFS, sshfs), na którym blokady plików "
          "nie chronią danych. Baza SQLite służy jednemu komputerowi: przenieś plik na dysk lokalny. Do "
          "pracy "
          "wielu stanowisk na wspólnych danych służy baza MySQL (serwer MariaDB).",
          "https://www.sqlite.org/useovernet.html"}},
        {ecNotLoggedIn, {"Nikt nie jest zalogowany. Zaloguj się, aby zobaczyć dane.", kAccessLink}},
        {ecNoRightView, {"Brak uprawnienia: Przeglądanie danych.", kAccessLink}},
        {ecNoRightModify, {"Brak uprawnienia: Modyfikacja danych.", kAccessLink}},
        {ecNoRightCreate, {"Brak uprawnienia: Tworzenie usuwanie danych.", kAccessLink}},
        {ecNoRightOperators, {"Brak uprawnienia: Zarządzanie operatorami.", kAccessLink}},
        {ecBackupFailed,
         {"Nie udało się utworzyć kopii zapasowej; niedokończony plik usunięto.",
          "https://www.sqlite.org/lang_vacuum.html#vacuuminto"}},
        {ecBackupCancelled,
         {"Operację przerwano na życzenie użytkownika: nie powstała żadna kopia, a baza danych pozostała bez "
          "zmian.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecNotBackup, {"Wskazany plik nie jest kopią zapasową programu Ewidar.", kBackupLink}},
        {ecBackupDamaged,
         {"Kopia zapasowa jest uszkodzona (suma kontrolna, opis kopii lub liczby rekordów się nie zgadzają). "
          "Niczego nie przywrócono.",
          kBackupLink}},
        {ecBackupTruncated,
         {"Plik kopii zapasowej jest niekompletny (ucięty). Niczego nie przywrócono.", kBackupLink}},
        {ecBackupWrongPassword,
         {"Błędne hasło kopii zapasowej (albo uszkodzony nagłówek pliku). Niczego nie przywrócono.",
          "https://libsodium.gitbook.io/doc/secret-key_cryptography/secretstream"}},
        {ecBackupPassword,
         {"Kopia zapasowa jest zaszyfrowana: podaj hasło.",
          "https://libsodium.gitbook.io/doc/secret-key_cryptography/secretstream"}},
        {ecBackupNewer,
         {"Kopia zapasowa pochodzi z nowszej wersji programu: zaktualizuj program, aby ją przywrócić. "
          "Niczego nie przywrócono.",
          kBackupLink}},
        {ecRestoreFailed,
         {"Nie udało się przywrócić kopii zapasowej: przywracanie wycofano, baza danych pozostała bez zmian.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecMergeKinds,
         {"Nie można scalić tych danych: scalać można tylko dwa zapisane rekordy tego samego rodzaju.",
          "https://www.sqlite.org/lang_transaction.html"}},
        {ecMergeSelf,
         {"Nie można scalić rekordu z nim samym.", "https://www.sqlite.org/lang_transaction.html"}},
        {ecMergeOwnRelation,
         {"Nie można scalić tych podmiotów: po scaleniu podmiot byłby swoim własnym pracownikiem, "
          "kontrahentem, wspólnikiem lub reprezentantem. Usuń najpierw to powiązanie.",
          "https://www.sqlite.org/foreignkeys.html"}},
    };
    return entries;
}

struct TLastFailure {
    int32_t code = 0;
    QString native;
    QString db;
};

TLastFailure& LastFailure() {
    thread_local TLastFailure last;
    return last;
}

} // namespace

bool Describe(int32_t Code, QString& Text, QString& Link) {
    const auto it = Entries().find(Code);
    if (it == Entries().end())
        return false;
    Text = QString::fromUtf8(it->second.text);
    Link = QString::fromUtf8(it->second.link);
    return true;
}

void NoteFailure(int32_t Code, const QString& Native, const QString& DataBaseID) {
    LastFailure() = TLastFailure{Code, Native, DataBaseID};
}

QString DetailsFor(int32_t Code, const QString& DataBaseID) {
    const TLastFailure& last = LastFailure();
    if (last.code != Code || (!last.db.isEmpty() && last.db != DataBaseID))
        return {};
    return last.native;
}

int32_t CaughtCode() noexcept {
    try {
        throw;
    } catch (const TSqlFailure& f) {
        NoteFailure(f.Code(), f.Native(), f.DataBaseID());
        return f.Code();
    } catch (...) {
        NoteFailure(ecQuery, {}, {});
        return ecQuery;
    }
}

int32_t FromSqlError(const QSqlError& Error, int32_t Fallback) {
    bool ok = false;
    const int native = Error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return Fallback;
    if (native == 787) // SQLITE_CONSTRAINT_FOREIGNKEY: the row is still referred to
        return ecReferenced;
    switch (native & 0xff) { // primary result code of an extended one
    case 5:                  // SQLITE_BUSY
    case 6:                  // SQLITE_LOCKED
        return ecFileLocked;
    case 8: // SQLITE_READONLY
        return ecReadOnly;
    case 26: // SQLITE_NOTADB
        return ecOpen;
    case 11: // SQLITE_CORRUPT
        return ecCriticalOpen;
    case 14: // SQLITE_CANTOPEN
        return ecOpen;
    default:
        return Fallback;
    }
}

} // namespace SqlErrors
