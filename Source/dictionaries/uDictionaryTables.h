#pragma once
// The six dictionary tables, filled once per run by the loader thread, and their
// loading flags. The loader writes a table and only then clears its flag; readers
// wait for the flag (WaitForTable) and never see a table being written.

#include "uDictionaryRecord.h"

#include <QString>

#include <vector>

struct TKrajRecord {
    QString KodKraju, NazwaKraju;
};
struct TWojewodztwoRecord {
    QString KodWojewodztwa, NazwaWojewodztwa;
};
struct TPowiatRecord {
    QString KodPowiatu, NazwaPowiatu, NazwaWojewodztwa;
};
struct TGminaRecord {
    QString KodGminy, NazwaGminy, NazwaPowiatu, NazwaWojewodztwa;
};
struct TMiejscowosciRecord {
    QString NazwaWojewodztwa, NazwaPowiatu, NazwaGminy, NazwaMiejscowosci;
};
struct TUrzadSkarbowyRecord {
    QString Nazwa, Naczelnik, Adres, RachPit, RachPitStd, RachCit, RachVat, RachVatUe, RachViuVin, RachDoch1,
        RachInD, RachDoch;
    // The office's 4-digit code from the finance ministry's list; empty when unknown.
    QString Kod;
};

struct TDictionaryTables {
    std::vector<TKrajRecord> Kraje;
    std::vector<TWojewodztwoRecord> Wojewodztwa;
    std::vector<TPowiatRecord> Powiaty;
    std::vector<TGminaRecord> Gminy;
    std::vector<TMiejscowosciRecord> Miejscowosci;
    std::vector<TUrzadSkarbowyRecord> UrzedySkarbowe;
};

// The program-wide tables. Read a table only after WaitForTable for its type returned
// (or TableLoaded is true); only the loader writes, and only while the flag is set.
TDictionaryTables& DictionaryTables();

// True once the table's loading flag is clear (the table is final).
bool TableLoaded(TDictionaryType Type);
// Blocks the calling thread until the table's flag is clear, without spinning.
void WaitForTable(TDictionaryType Type);
// Clears one flag (the loader, after the table is final) and wakes the waiters.
void MarkTableLoaded(TDictionaryType Type);
void MarkAllTablesLoaded();
// Empties every table and sets every flag: the state at program start. Only while no
// loader runs (the loader thread does it before it starts).
void ResetDictionaryTables();
// Number of rows of a type's table (dtWojewodztwa: the provinces); read it only once
// the table is loaded.
int TableRowCount(TDictionaryType Type);
