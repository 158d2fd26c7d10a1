#pragma once
// The input to and the result of a dictionary selection, and the dictionaries by type.

#include <QString>

// The six dictionaries, in the order of the dictionary window's types (0-5).
enum TDictionaryType { dtKraje, dtWojewodztwa, dtPowiaty, dtGminy, dtMiejscowosci, dtUS };
inline constexpr int cDictionaryTypeCount = 6;

struct TDictionaryRecord {
    QString KrajNazwa;
    QString KrajKod;
    QString Wojewodztwo;
    QString Powiat;
    QString Gmina;
    QString Miejscowosc;
    QString Ulica;
    QString USNazwa;
    QString USNaczelnik;
    QString USAdres;
    QString USRachPit;
    QString USRachPitStd;
    QString USRachCit;
    QString USRachVat;
    QString USRachVatUe;
    QString USRachViuVin;
    QString USRachDoch1;
    QString USRachInD;
    QString USKonto;

    // Empties all nineteen texts.
    void Clear() { *this = TDictionaryRecord(); }
    bool IsEmpty() const;

    friend bool operator==(const TDictionaryRecord&, const TDictionaryRecord&) = default;
};
