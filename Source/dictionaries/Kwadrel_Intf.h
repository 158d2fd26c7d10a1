#pragma once
// The interface of the address-dictionary library Kwadrel2015: its root interface,
// its row cursors and its one export. Shared by the program and the library.
//
// Strings cross as std::u16string returned by value: the caller owns every text it
// receives, so nothing refers into the library once it is unloaded. Interface results
// come through out-arguments carrying one reference owned by the caller (nullptr when
// the library has nothing to give). No operation throws.

#include "uIntf.h"

#include <cstdint>
#include <string>

// A forward-only view of one dictionary's rows.
struct IAdrDictCursor : IInterface {
    static constexpr TGUID IID{0x3B0E6C41, 0x9A2D, 0x4F7E, {0x8C, 0x15, 0x6D, 0x2A, 0x90, 0xE4, 0x7B, 0x31}};
    using Parent = IInterface;

    virtual int32_t RecordCount() = 0;
    // Positions on the first row.
    virtual void First() = 0;
    // True when past the last row.
    virtual bool Eof() = 0;
    virtual void Next() = 0;
    // Column Index (0-based) of the current row; empty past the end or out of range.
    virtual std::u16string FieldValue(int32_t Index) = 0;
};

// The root interface. All=true gives the whole dictionary and ignores the other
// arguments; All=false keeps the rows whose columns contain every non-empty text given
// (case-insensitive), and Limit (when above 0) caps the number of localities.
struct IAdrDictIntf : IInterface {
    static constexpr TGUID IID{0xF7D28FF5, 0xBF5D, 0x467C, {0xB0, 0x55, 0x04, 0x76, 0x37, 0x19, 0xFE, 0x6B}};
    using Parent = IInterface;

    // Columns: code, name.
    virtual void GetKraje(bool All, const std::u16string& Kod, const std::u16string& Nazwa,
                          IAdrDictCursor** Out) = 0;
    // The Polish name of a country given by its two-letter code; false when unknown.
    virtual bool GetNazwaKraju(const std::u16string& Kod, std::u16string& Nazwa) = 0;
    // Columns: code, name.
    virtual void GetWojewodztwa(bool All, IAdrDictCursor** Out) = 0;
    // Columns: province name, county code, county name.
    virtual void GetPowiaty(bool All, const std::u16string& Wojewodztwo, const std::u16string& Nazwa,
                            IAdrDictCursor** Out) = 0;
    // Columns: province name, county name, commune code, commune name.
    virtual void GetGminy(bool All, const std::u16string& Wojewodztwo, const std::u16string& Powiat,
                          const std::u16string& Nazwa, IAdrDictCursor** Out) = 0;
    // Columns: province name, county name, commune name, locality name.
    virtual void GetMiejscowosci(bool All, const std::u16string& Wojewodztwo, const std::u16string& Powiat,
                                 const std::u16string& Gmina, const std::u16string& Nazwa, int32_t Limit,
                                 IAdrDictCursor** Out) = 0;
    // The name of a province given by its two-digit code; false when unknown.
    virtual bool GetNazwaWojewodztwa(const std::u16string& Kod, std::u16string& Nazwa) = 0;
    // Columns: name, head, address, accounts PIT, PIT-STD, CIT, VAT, VAT-UE, VIU-D/VIN-D,
    // "doch.", "in.d.", the 17 middle digits shared by the office's accounts, and the
    // office's 4-digit code (empty when unknown).
    virtual void GetUrzedySkarbowe(bool All, const std::u16string& Nazwa, const std::u16string& Naczelnik,
                                   const std::u16string& Adres, IAdrDictCursor** Out) = 0;
};

// The library's export "GetDictionaryIntf": stores the root interface (one reference
// owned by the caller) or nullptr in *Out.
using TGetDictionaryIntf = void (*)(IAdrDictIntf** Out);

inline constexpr const char* cKwadrelLibraryName = "Kwadrel2015";
inline constexpr const char* cGetDictionaryIntfExport = "GetDictionaryIntf";
