#pragma once
// The data-access contract between the program and a database backend: the root
// object, records, collections, field values, user-defined fields, word
// dictionaries and operators. Operations keep their declaration order; those the
// program never calls are left out. Texts are UTF-16; an empty string and no
// string are the same. Interface-valued results may be empty where noted.

#include "uCustomDBIntf.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct IEwidarRecord;
struct IEwidarCollection;
struct IDataFields;
struct IEwidarRecordInfo;
struct IDynamicFields;
struct ISlownik;
struct IUsersGroup;
struct IEwidarDynamicFieldsProvider;
struct IEwidarSlownikProvider;

// Raised by a collection when its content changes (sender: the collection).
using TNotifyEvent = std::function<void(IInterface* Sender)>;
// Progress of a long operation; the handler sets Cancel to true to stop it.
using TProgressEvent = std::function<void(int32_t Percent, bool& Cancel)>;

// ---------------------------------------------------------------------------
// Field values

// One value of a record; every text travels as a string.
struct IDataField : IInterface {
    static constexpr TGUID IID = {0x2E963B37, 0xBC35, 0xD752, {0x6D, 0xB4, 0xA0, 0x0B, 0x46, 0xA9, 0x90, 0x65}};
    using Parent = IInterface;

    virtual void SetCaption(const std::u16string& Text) = 0;
    virtual void SetValue(const std::u16string& Text) = 0;
    // Editor-kind name, for example "ctEdit".
    virtual void SetFieldType(const std::u16string& Name) = 0;
    virtual std::u16string GetSymbol() = 0;
    virtual std::u16string GetCaption() = 0;
    virtual std::u16string GetValue() = 0;
    virtual std::u16string GetFieldType() = 0;
};

// The values of one record, by zero-based index or by field symbol.
struct IDataFields : IInterface {
    static constexpr TGUID IID = {0x6FD4B046, 0xD3DF, 0x403D, {0x69, 0x45, 0xEC, 0x3D, 0x6C, 0xCF, 0xA0, 0x26}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual std::u16string GetSymbol(int32_t Index) = 0;
    // Never empty for a symbol of the record's kind or a user-defined symbol of it.
    virtual TIntfPtr<IDataField> GetDataField(const std::u16string& Symbol) = 0;
};

// ---------------------------------------------------------------------------
// Records

// Short description of a record: description lines and a one-line comma-text summary.
struct IEwidarRecordInfo : IInterface {
    static constexpr TGUID IID = {0x7207EBBD, 0xC131, 0xF0C9, {0x93, 0x90, 0x96, 0x1C, 0xE4, 0x19, 0xE5, 0x36}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual std::u16string GetLine(int32_t Index) = 0;
    virtual std::u16string GetSummary() = 0;
};

// Every record of every kind.
struct IEwidarRecord : ICustomObject {
    static constexpr TGUID IID = {0x609FDE04, 0x4ECA, 0x0951, {0x0E, 0x93, 0x2C, 0xCB, 0x02, 0x80, 0x1B, 0x96}};
    using Parent = ICustomObject;

    // True while the record was created but never posted.
    virtual bool IsNew() = 0;
    // Identifier of the stored record, 0 for none.
    virtual int32_t GetID() = 0;
    virtual TIntfPtr<IDataFields> GetDataFields() = 0;
    virtual TIntfPtr<IEwidarRecordInfo> GetRecordInfo() = 0;
    virtual bool Post() = 0;
    // Fails with code 202 while other records still refer to this one.
    virtual bool Delete() = 0;
    virtual bool Lock() = 0;
    virtual bool Unlock() = 0;
    // Re-reads the record; true when it stands for a stored record that could be read.
    virtual bool Refresh() = 0;
};

// ---------------------------------------------------------------------------
// Collections

struct IEwidarCollection : ICustomObject {
    static constexpr TGUID IID = {0xB63079F5, 0x3043, 0x8AA9, {0x57, 0x81, 0x30, 0x5E, 0x95, 0xF7, 0x14, 0x49}};
    using Parent = ICustomObject;

    // Number of records matching the current filter.
    virtual int32_t GetCount() = 0;
    // Restricts to records matching the text as typed; empty removes the restriction.
    virtual void SetFilter(const std::u16string& Text) = 0;
    virtual void SetOnChange(TNotifyEvent Handler) = 0;
};

// Family: sections of a subject (citizenship, documents, addresses, business
// addresses, branches, activity codes).
struct IEwidarSectionCollection : IEwidarCollection {
    static constexpr TGUID IID = {0xC0709D54, 0x8AAE, 0x646F, {0xB2, 0xEC, 0xDC, 0xE9, 0xE4, 0x21, 0xE7, 0xB6}};
    using Parent = IEwidarCollection;

    virtual TIntfPtr<IEwidarRecord> GetItem(int32_t Index) = 0;
    // A new, not yet posted record of the item kind.
    virtual TIntfPtr<IEwidarRecord> New() = 0;
};

// Family: registries and linked lists.
struct IEwidarListCollection : IEwidarCollection {
    static constexpr TGUID IID = {0x2AECA6C1, 0xEE0E, 0x97F6, {0x7F, 0x47, 0xA1, 0xDC, 0xFB, 0xDC, 0xC9, 0xBE}};
    using Parent = IEwidarCollection;

    virtual TIntfPtr<IEwidarRecord> New() = 0;
    virtual TIntfPtr<IEwidarRecord> GetItem(int32_t Index) = 0;
};

// Family: people of a taxpayer (employees, contractors).
struct IEwidarPeopleCollection : IEwidarCollection {
    static constexpr TGUID IID = {0x1BE29228, 0xB280, 0x31AE, {0x43, 0x62, 0x29, 0xC6, 0xA3, 0x0A, 0xC6, 0xC5}};
    using Parent = IEwidarCollection;

    // Links an existing subject to the owning taxpayer's list.
    virtual void AddExisting(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IEwidarRecord> New() = 0;
    virtual TIntfPtr<IEwidarRecord> GetItem(int32_t Index) = 0;
    // Activity 0 all, 1 active, 2 inactive; then the filter text.
    virtual void SetActivityFilter(int32_t Activity, const std::u16string& Text) = 0;
    // A new record already linked to the given taxpayer.
    virtual TIntfPtr<IEwidarRecord> NewForPodatnik(IEwidarRecord* Podatnik) = 0;
};

#define EWIDAR_COLLECTION(Name, Base, ...)                                                                        \
    struct Name : Base {                                                                                     \
        static constexpr TGUID IID = __VA_ARGS__;                                                        \
        using Parent = Base;                                                                                 \
    }

EWIDAR_COLLECTION(IObywatelstwa, IEwidarSectionCollection, {0xBADA2BF2, 0x6EA5, 0x8885, {0x6D, 0xC2, 0xED, 0x7F, 0x7B, 0x2C, 0xFB, 0x41}});
EWIDAR_COLLECTION(IDokumentyTozsamosci, IEwidarSectionCollection, {0xC743856A, 0xA58D, 0x618A, {0x6F, 0xCB, 0x93, 0x3B, 0x5A, 0x06, 0x27, 0xF2}});
EWIDAR_COLLECTION(IAdresy, IEwidarSectionCollection, {0xD3FD39C0, 0x0B5C, 0x3B19, {0xEA, 0x09, 0x70, 0x09, 0x67, 0xB7, 0x77, 0x68}});
EWIDAR_COLLECTION(IAdresyDzialalnosci, IEwidarSectionCollection, {0xAE3BC0C1, 0x3903, 0xDBFA, {0x92, 0xB1, 0x4F, 0x45, 0x68, 0x9E, 0x68, 0x2B}});
EWIDAR_COLLECTION(IOddzialy, IEwidarSectionCollection, {0xD2B91F31, 0x467D, 0x717E, {0xED, 0x7B, 0x10, 0x81, 0x03, 0x5F, 0x4D, 0x41}});
EWIDAR_COLLECTION(IRodzajeDzialalnosci, IEwidarSectionCollection, {0xED176345, 0x290B, 0x745B, {0x3D, 0x2F, 0x8D, 0x96, 0x50, 0x69, 0x8B, 0xB5}});

EWIDAR_COLLECTION(IPodatnicy, IEwidarListCollection, {0xCC179D72, 0x6B66, 0x5F15, {0x0D, 0x6B, 0xC3, 0xFD, 0xB8, 0xDE, 0x0C, 0x81}});
EWIDAR_COLLECTION(IDaneZUSow, IEwidarListCollection, {0xBDC04DB2, 0x9C7A, 0x71A1, {0xB4, 0xF6, 0xA7, 0xEF, 0x64, 0x6E, 0x70, 0x1B}});
EWIDAR_COLLECTION(IUrzedyStatystyczne, IEwidarListCollection, {0x9F6DA953, 0xDB40, 0x35C4, {0x6F, 0x57, 0x90, 0x97, 0x4A, 0xA2, 0x74, 0xA6}});
EWIDAR_COLLECTION(ISadyRejonowe, IEwidarListCollection, {0xF5EFA6B8, 0xDABF, 0xD22D, {0x0C, 0xC2, 0xE4, 0x0E, 0x23, 0xE1, 0xB9, 0xB5}});
EWIDAR_COLLECTION(IDaneBankow, IEwidarListCollection, {0x2E35B1E8, 0x1A2E, 0x29DE, {0xCB, 0x25, 0xA6, 0x47, 0xB9, 0x5D, 0x6B, 0x77}});
EWIDAR_COLLECTION(INrIdentyfikacyjne, IEwidarListCollection, {0x034C8C79, 0x99E0, 0x377E, {0x6D, 0x94, 0x22, 0xEC, 0xA9, 0xE2, 0x71, 0xB8}});
EWIDAR_COLLECTION(IWspolnicy, IEwidarListCollection, {0xF328161C, 0xCA50, 0xBAB5, {0xAA, 0x2B, 0xEE, 0x32, 0x1F, 0xD6, 0x50, 0xE8}});
EWIDAR_COLLECTION(ISpolki, IEwidarListCollection, {0xCFB20002, 0x9FA5, 0xDA5B, {0xDB, 0xD3, 0x1B, 0x02, 0x30, 0x8B, 0x2A, 0x60}});
EWIDAR_COLLECTION(ISpolkiPodmiotu, IEwidarListCollection, {0x3AB182A7, 0x5879, 0x106A, {0x78, 0x79, 0x24, 0xA6, 0xA8, 0x5D, 0x67, 0xD2}});
EWIDAR_COLLECTION(IRachunkiBankowe, IEwidarListCollection, {0xEE77416E, 0xEE27, 0x71B2, {0x48, 0x98, 0xFF, 0xEA, 0x4F, 0xA8, 0xA2, 0xCB}});
EWIDAR_COLLECTION(IDaneZamawiajacych, IEwidarListCollection, {0x6CE647EB, 0xD061, 0x7160, {0x53, 0x9D, 0x3B, 0xBE, 0x88, 0x54, 0xD3, 0x8D}});
EWIDAR_COLLECTION(IReprezentanci, IEwidarListCollection, {0xC13E542E, 0x41CA, 0x4BC2, {0x94, 0x92, 0x79, 0xD9, 0x0B, 0x64, 0x70, 0xEF}});
EWIDAR_COLLECTION(IBiuraRachunkowe, IEwidarListCollection, {0x2953F291, 0xA1BC, 0x1615, {0x6E, 0x8B, 0xA1, 0x8A, 0x36, 0xB8, 0x79, 0xBC}});

EWIDAR_COLLECTION(IPracownicy, IEwidarPeopleCollection, {0x54A00ED2, 0x74E7, 0x3639, {0x33, 0xC9, 0xEE, 0x95, 0x4E, 0x93, 0xC2, 0x18}});
EWIDAR_COLLECTION(IKontrahenci, IEwidarPeopleCollection, {0xE60121C0, 0xD832, 0xA069, {0x99, 0xDD, 0x1D, 0xB4, 0xEE, 0x45, 0x91, 0x32}});

// NFZ branches: a list that can fill itself with the sixteen voivodeship branches.
struct IDaneNFZow : IEwidarListCollection {
    static constexpr TGUID IID = {0x9DB32F4E, 0x8E9F, 0x9410, {0x33, 0x47, 0x86, 0xF4, 0xA2, 0x75, 0xC3, 0xAA}};
    using Parent = IEwidarListCollection;

    virtual bool FillDefaults() = 0;
};

// All subjects: items can be read, none added.
struct IPodmioty : IEwidarCollection {
    static constexpr TGUID IID = {0x8D2D3441, 0x515B, 0x5444, {0x0D, 0x44, 0x10, 0xED, 0x40, 0x1E, 0xA0, 0xDB}};
    using Parent = IEwidarCollection;

    virtual TIntfPtr<IEwidarRecord> GetItem(int32_t Index) = 0;
};

#undef EWIDAR_COLLECTION

// ---------------------------------------------------------------------------
// Record kinds

#define EWIDAR_RECORD_KIND(Name, ...)                                                                             \
    struct Name : IEwidarRecord {                                                                            \
        static constexpr TGUID IID = __VA_ARGS__;                                                        \
        using Parent = IEwidarRecord;                                                                        \
    }

// Kinds that exist only for kind tests.
EWIDAR_RECORD_KIND(IObywatelstwo, {0x2CD5E941, 0xD87B, 0x66A1, {0xB6, 0xD6, 0x9A, 0x9E, 0x74, 0xEC, 0x6F, 0x37}});
EWIDAR_RECORD_KIND(IDokumentTozsamosci, {0xC4328CE8, 0x4C73, 0xD829, {0x25, 0x5F, 0x25, 0xAE, 0x6C, 0x5B, 0x76, 0xAD}});
EWIDAR_RECORD_KIND(IAdres, {0x4EA2301F, 0x0958, 0x54FD, {0x3F, 0x91, 0x34, 0x9E, 0x1A, 0x1B, 0x87, 0xB6}});
EWIDAR_RECORD_KIND(IAdresDzialalnosci, {0xE6CA44FF, 0xCF42, 0x8273, {0x4E, 0x27, 0x9A, 0x73, 0xDA, 0x9C, 0x01, 0xE1}});
EWIDAR_RECORD_KIND(IOddzial, {0x3D9EB048, 0x5F3E, 0xC580, {0x51, 0x68, 0xFD, 0x7D, 0xA9, 0x1E, 0x6A, 0xD7}});
EWIDAR_RECORD_KIND(INrIdentyfikacyjny, {0xCC153765, 0x2451, 0xFDF2, {0xDD, 0x5F, 0xC0, 0x7F, 0xCC, 0x9A, 0x87, 0x3C}});
EWIDAR_RECORD_KIND(IWspolnik, {0x8BA6B1BB, 0xFE92, 0xA57B, {0xA9, 0xDD, 0xF1, 0xE7, 0xE5, 0xBF, 0xF4, 0x83}});
EWIDAR_RECORD_KIND(IDaneZamawiajacego, {0xBEC2179F, 0xF0D5, 0x9780, {0xDF, 0xAE, 0xD4, 0x4B, 0x83, 0x9F, 0xCE, 0x7B}});
EWIDAR_RECORD_KIND(IRekordDodatkowy, {0x084F04A5, 0x08AB, 0x7FF3, {0x95, 0xD9, 0x81, 0xCD, 0xB0, 0xB7, 0xA8, 0x0E}});
EWIDAR_RECORD_KIND(IRodzajDzialalnosci, {0x4EE9F59E, 0x7DB5, 0xA673, {0x7E, 0x65, 0x86, 0x44, 0x3E, 0x9F, 0x52, 0xAC}});

#undef EWIDAR_RECORD_KIND

// Records that other subjects refer to: ZUS, statistical office, NFZ, court, accounting office.
#define EWIDAR_REFERENCED_KIND(Name, ...)                                                                         \
    struct Name : IEwidarRecord {                                                                            \
        static constexpr TGUID IID = __VA_ARGS__;                                                        \
        using Parent = IEwidarRecord;                                                                        \
        /* The subjects that refer to this record. */                                                        \
        virtual TIntfPtr<IPodmioty> GetPodmioty() = 0;                                                       \
    }

EWIDAR_REFERENCED_KIND(IDaneZUS, {0x82FFBBB0, 0x1228, 0x2E49, {0xE1, 0x71, 0x0B, 0x22, 0x92, 0xF9, 0xA4, 0xFA}});
EWIDAR_REFERENCED_KIND(IUrzadStatystyczny, {0x0C4DF6FD, 0xF516, 0xBF2D, {0xAF, 0xAB, 0x3B, 0x3B, 0xD4, 0x96, 0xFE, 0x20}});
EWIDAR_REFERENCED_KIND(IDaneNFZ, {0x92E3A443, 0xB2EA, 0x0AEE, {0xF1, 0x31, 0xE4, 0x5A, 0x08, 0xAD, 0x7D, 0x04}});
EWIDAR_REFERENCED_KIND(ISadRejonowy, {0x049DBA44, 0x61F3, 0x1761, {0x85, 0x05, 0xF2, 0x63, 0xFD, 0x5B, 0x13, 0xF0}});
EWIDAR_REFERENCED_KIND(IBiuroRachunkowe, {0x3347C7CD, 0x7672, 0x5825, {0xBC, 0xEB, 0x08, 0x8E, 0xA3, 0x0C, 0xF3, 0x44}});

#undef EWIDAR_REFERENCED_KIND

struct IDaneBanku : IEwidarRecord {
    static constexpr TGUID IID = {0x07E512F0, 0x8387, 0xB268, {0x5F, 0x42, 0xF9, 0x68, 0xC9, 0x75, 0x7C, 0x87}};
    using Parent = IEwidarRecord;

    // The bank accounts held at this bank.
    virtual TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() = 0;
};

// A subject (person or organisation).
struct IPodmiot : IEwidarRecord {
    static constexpr TGUID IID = {0xEEF79F89, 0xD023, 0x3CE0, {0x0C, 0x99, 0xFB, 0xCD, 0xFC, 0x97, 0xA1, 0x6A}};
    using Parent = IEwidarRecord;

    virtual TIntfPtr<IAdresy> GetAdresy() = 0;
    virtual TIntfPtr<IAdresyDzialalnosci> GetAdresyDzialalnosci() = 0;
    virtual TIntfPtr<IOddzialy> GetOddzialy() = 0;
    virtual TIntfPtr<IRodzajeDzialalnosci> GetRodzajeDzialalnosci() = 0;
    // Companies the subject belongs to.
    virtual TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() = 0;
    virtual TIntfPtr<IObywatelstwa> GetObywatelstwa() = 0;
    virtual TIntfPtr<IDokumentyTozsamosci> GetDokumentyTozsamosci() = 0;
    virtual TIntfPtr<INrIdentyfikacyjne> GetNrIdentyfikacyjne() = 0;
    virtual TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() = 0;
    virtual TIntfPtr<IDaneZamawiajacych> GetDaneZamawiajacych() = 0;
    // Single links: empty when none is set; a setter given nullptr removes the link.
    virtual TIntfPtr<IRodzajDzialalnosci> GetRodzajPrzewazajacejDzialalnosci() = 0;
    virtual void SetRodzajPrzewazajacejDzialalnosci(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IDaneZUS> GetDaneZUS() = 0;
    virtual void SetDaneZUS(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IUrzadStatystyczny> GetUrzadStatystyczny() = 0;
    virtual void SetUrzadStatystyczny(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IDaneNFZ> GetDaneNFZ() = 0;
    virtual void SetDaneNFZ(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<ISadRejonowy> GetSadRejonowy() = 0;
    virtual void SetSadRejonowy(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IReprezentanci> GetReprezentanci() = 0;
    virtual void SetBiuroRachunkowe(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IBiuroRachunkowe> GetBiuroRachunkowe() = 0;
    // Representative records of other subjects that name this subject as the person.
    virtual TIntfPtr<IReprezentanci> GetPowiazaniReprezentanci() = 0;
    // Subjects linked to this one.
    virtual TIntfPtr<IPodmioty> GetPowiazanePodmioty() = 0;
    // True when another stored subject carries one of the given (non-empty) identifiers.
    virtual bool HasDuplicate(const std::u16string& PESEL, const std::u16string& NIP,
                              const std::u16string& REGON) = 0;
};

struct IPodatnik : IPodmiot {
    static constexpr TGUID IID = {0x1DF1D8F7, 0xD37D, 0xA721, {0x55, 0x1A, 0xA5, 0xA5, 0x72, 0x60, 0x88, 0x86}};
    using Parent = IPodmiot;

    // The program passes 0 for both integers.
    virtual TIntfPtr<IPracownicy> GetPracownicy(int32_t A, int32_t B) = 0;
    virtual TIntfPtr<IKontrahenci> GetKontrahenci(int32_t A, int32_t B) = 0;
};

#define EWIDAR_PERSON_KIND(Name, ...)                                                                             \
    struct Name : IPodmiot {                                                                                 \
        static constexpr TGUID IID = __VA_ARGS__;                                                        \
        using Parent = IPodmiot;                                                                             \
        /* Per-taxpayer active flag; applies when reached through a taxpayer. */                           \
        virtual void SetAktywny(bool Value) = 0;                                                             \
        virtual bool GetAktywny() = 0;                                                                       \
        /* The taxpayers the person is linked to. */                                                         \
        virtual TIntfPtr<IPodatnicy> GetPodatnicy() = 0;                                                     \
        virtual bool HasPodatnikKontekst() = 0;                                                              \
    }

EWIDAR_PERSON_KIND(IPracownik, {0x9712AE27, 0x087C, 0xE392, {0xDA, 0x16, 0x34, 0xE6, 0x49, 0xCD, 0xA4, 0xC0}});
EWIDAR_PERSON_KIND(IKontrahent, {0x12339BED, 0x7384, 0xFFC7, {0xC6, 0xE5, 0x2A, 0x77, 0x77, 0x5E, 0xF7, 0x16}});

#undef EWIDAR_PERSON_KIND

// A company.
struct ISpolka : IEwidarRecord {
    static constexpr TGUID IID = {0x39B4946A, 0x1C04, 0x1B6F, {0x20, 0x2A, 0x8C, 0xC3, 0x83, 0x42, 0x56, 0x2B}};
    using Parent = IEwidarRecord;

    virtual TIntfPtr<IWspolnicy> GetWspolnicy() = 0;
    // The links of subjects to this company.
    virtual TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() = 0;
};

// A subject's share in a company.
struct ISpolkaPodmiotu : IEwidarRecord {
    static constexpr TGUID IID = {0xBEA30634, 0x964E, 0xB625, {0xFB, 0x82, 0x35, 0xA0, 0x03, 0x8D, 0x6F, 0xF8}};
    using Parent = IEwidarRecord;

    virtual void SetSpolka(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<ISpolka> GetSpolka() = 0;
};

struct IRachunekBankowy : IEwidarRecord {
    static constexpr TGUID IID = {0x90B2FC58, 0x1CBD, 0x758B, {0x00, 0xDD, 0x8D, 0xC4, 0x0F, 0x0A, 0xAC, 0x1C}};
    using Parent = IEwidarRecord;

    virtual void SetDaneBanku(IEwidarRecord* Record) = 0;
    virtual TIntfPtr<IDaneBanku> GetDaneBanku() = 0;
};

struct IReprezentant : IEwidarRecord {
    static constexpr TGUID IID = {0x7CD4AAFF, 0x7F9E, 0x41FC, {0x5C, 0xB8, 0xEA, 0x91, 0x41, 0xCC, 0x30, 0xA9}};
    using Parent = IEwidarRecord;

    virtual void SetPodmiot(IEwidarRecord* Record) = 0;
    // The person who represents.
    virtual TIntfPtr<IPodmiot> GetPodmiot() = 0;
};

// ---------------------------------------------------------------------------
// Registries

// A fresh object per request; each getter returns its registry restricted by the filter text.
struct IEwidarRegistries : IInterface {
    static constexpr TGUID IID = {0xC3D5BFA4, 0x87A5, 0x5EBC, {0x55, 0x08, 0x9F, 0xED, 0xE5, 0xC1, 0xF4, 0x62}};
    using Parent = IInterface;

    virtual TIntfPtr<IPodmioty> GetPodmioty(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IPracownicy> GetPracownicy(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IKontrahenci> GetKontrahenci(const std::u16string& Filter) = 0;
    virtual TIntfPtr<ISpolki> GetSpolki(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IDaneBankow> GetDaneBankow(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IDaneZUSow> GetDaneZUSow(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IDaneNFZow> GetDaneNFZow(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IUrzedyStatystyczne> GetUrzedyStatystyczne(const std::u16string& Filter) = 0;
    virtual TIntfPtr<ISadyRejonowe> GetSadyRejonowe(const std::u16string& Filter) = 0;
    virtual TIntfPtr<IBiuraRachunkowe> GetBiuraRachunkowe(const std::u16string& Filter) = 0;
};

// ---------------------------------------------------------------------------
// User-defined fields and word dictionaries

struct IDynamicField : ICustomObject {
    static constexpr TGUID IID = {0xA0E0E227, 0xFF30, 0xA84B, {0xE0, 0xB7, 0x28, 0x3A, 0x27, 0xED, 0x1E, 0x48}};
    using Parent = ICustomObject;

    virtual void SetSymbol(const std::u16string& Text) = 0;
    virtual void SetDescription(const std::u16string& Text) = 0;
    virtual void SetFieldType(const std::u16string& Name) = 0;
    virtual std::u16string GetSymbol() = 0;
    virtual std::u16string GetDescription() = 0;
    virtual std::u16string GetFieldType() = 0;
    virtual bool PostDefinition() = 0;
    // Deletes the definition; values already stored under its symbol stay.
    virtual bool DeleteDefinition() = 0;
};

struct IDynamicFields : ICustomObject {
    static constexpr TGUID IID = {0xC01C6840, 0x338E, 0xDB46, {0x74, 0x16, 0x68, 0x9E, 0xE4, 0xBB, 0x5D, 0xFE}};
    using Parent = ICustomObject;

    virtual int32_t GetCount() = 0;
    virtual TIntfPtr<IDynamicField> GetItem(int32_t Index) = 0;
    // A new, empty definition.
    virtual TIntfPtr<IDynamicField> AddField() = 0;
};

// The words of one field.
struct ISlownikField : IInterface {
    static constexpr TGUID IID = {0xD8B4572D, 0x80C2, 0xEA4B, {0xB1, 0xCC, 0x92, 0xD6, 0xAC, 0xC6, 0x5F, 0xE3}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual std::u16string GetWord(int32_t Index) = 0;
    virtual void AddWord(const std::u16string& Word) = 0;
    virtual void DeleteWord(const std::u16string& Word) = 0;
    virtual void ChangeWord(const std::u16string& OldWord, const std::u16string& NewWord) = 0;
};

// Word dictionary of one record kind; stored with Post.
struct ISlownik : ICustomRecord {
    static constexpr TGUID IID = {0x83E94A78, 0x8C7D, 0xE458, {0x6F, 0x00, 0x10, 0xD1, 0x8A, 0x20, 0x9C, 0xBE}};
    using Parent = ICustomRecord;

    virtual TIntfPtr<ISlownikField> GetWordList(const std::u16string& Symbol) = 0;
};

// Per-kind providers. Position is the record-kind position 1-21 (see uEwidarKinds.h).
struct IEwidarDynamicFieldsProvider : IInterface {
    static constexpr TGUID IID = {0xD640C7C7, 0xEB42, 0x8CB9, {0x01, 0x5E, 0x6A, 0x4F, 0xC4, 0x1C, 0x64, 0xF5}};
    using Parent = IInterface;

    virtual TIntfPtr<IDynamicFields> GetDynamicFields(int32_t Position) = 0;
};

struct IEwidarSlownikProvider : IInterface {
    static constexpr TGUID IID = {0x99FADE1F, 0x9F0E, 0x3F96, {0x65, 0x3D, 0x74, 0xA1, 0xCD, 0x0E, 0xEC, 0x1B}};
    using Parent = IInterface;

    virtual TIntfPtr<ISlownik> GetSlownik(int32_t Position) = 0;
};

// ---------------------------------------------------------------------------
// Operators

struct IUsers;

struct IInternalUserGroup : ICustomRecord {
    static constexpr TGUID IID = {0x6250C0BD, 0xDCE6, 0xDF04, {0x41, 0x7A, 0x70, 0xA8, 0x76, 0xE0, 0x46, 0x16}};
    using Parent = ICustomRecord;

    virtual int32_t GetID() = 0;
    virtual void SetName(const std::u16string& Text) = 0;
    virtual std::u16string GetName() = 0;
    // Rights as a bit set.
    virtual void SetUprawnienia(int32_t Rights) = 0;
    virtual int32_t GetUprawnienia() = 0;
};

struct IUserGroup : IInternalUserGroup {
    static constexpr TGUID IID = {0xB1535ED9, 0xB1EA, 0x29E6, {0x63, 0xC0, 0x09, 0x82, 0x54, 0x98, 0xB6, 0x5F}};
    using Parent = IInternalUserGroup;

    virtual TIntfPtr<IUsers> GetUsers() = 0;
};

struct IUser : ICustomRecord {
    static constexpr TGUID IID = {0x42B10298, 0x28AF, 0xB7E9, {0x0E, 0x19, 0x1B, 0xD9, 0x3A, 0x58, 0xC2, 0xAA}};
    using Parent = ICustomRecord;

    virtual int32_t GetID() = 0;
    virtual void SetLogin(const std::u16string& Text) = 0;
    virtual std::u16string GetLogin() = 0;
    virtual void SetPassword(const std::u16string& Text) = 0;
    // Moves the operator into the group (stored by Post).
    virtual void SetUserGroup(IUserGroup* Group) = 0;
    virtual void SetFirstName(const std::u16string& Text) = 0;
    virtual std::u16string GetFirstName() = 0;
    virtual void SetLastName(const std::u16string& Text) = 0;
    virtual std::u16string GetLastName() = 0;
    virtual void SetPhone(const std::u16string& Text) = 0;
    virtual std::u16string GetPhone() = 0;
    virtual void SetEmail(const std::u16string& Text) = 0;
    virtual std::u16string GetEmail() = 0;
};

struct IUsers : IInterface {
    static constexpr TGUID IID = {0xCA9E3552, 0x9836, 0x9A1F, {0xD1, 0xF1, 0x7D, 0xC4, 0xDF, 0x59, 0x41, 0x7C}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual TIntfPtr<IUser> GetItem(int32_t Index) = 0;
    virtual TIntfPtr<IUser> AddUser() = 0;
};

struct IUsersGroup : IInterface {
    static constexpr TGUID IID = {0x491FE421, 0xF3A7, 0xA51A, {0x00, 0x56, 0x40, 0x87, 0xAD, 0x52, 0xE3, 0x83}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual TIntfPtr<IUserGroup> GetItem(int32_t Index) = 0;
    virtual TIntfPtr<IUserGroup> AddGroup() = 0;
};

// ---------------------------------------------------------------------------
// Duplicates

// Pairs of subjects that look like one subject stored twice, with the reason.
struct IDuplicatePairs : IInterface {
    static constexpr TGUID IID = {0x3C5E8A21, 0x7D4B, 0x4E19, {0x9A, 0x62, 0x1F, 0xB0, 0x58, 0xC3, 0x2E, 0x74}};
    using Parent = IInterface;

    virtual int32_t GetCount() = 0;
    virtual TIntfPtr<IEwidarRecord> GetFirst(int32_t Index) = 0;
    virtual TIntfPtr<IEwidarRecord> GetSecond(int32_t Index) = 0;
    // What the two share, for example "NIP" or "nazwa i kod pocztowy".
    virtual std::u16string GetReason(int32_t Index) = 0;
};

// A value chosen for the record kept by a merge: field symbol and value.
using TMergeValue = std::pair<std::u16string, std::u16string>;

// History of changes (append-only, hash-chained; read by the record window and the journal)

// What an entry records.
enum class THistoryEvent : int32_t {
    heNew = 1,          // a record stored for the first time, with the values it was given
    hePost = 2,         // a stored record changed: each field whose value changed
    heDelete = 3,       // a record deleted, with the values it had
    heLink = 4,         // a link set or removed (old and new target)
    heFieldDef = 5,     // a user-defined field definition added, changed or deleted
    heGroup = 6,        // an operator group added, changed or deleted
    heOperator = 7,     // an operator added, changed or deleted (never a password or its hash)
    heLogin = 8,        // a login
    heLoginFailed = 9,  // a refused login (the login typed)
    heLogout = 10,      // a logout
    heImport = 11,      // data imported from another database
    heBackup = 12,      // a backup written
    heRestore = 13,     // a backup restored
    heMerge = 14,       // records merged
};

// One changed value of an entry: for a field its symbol and caption, for other events the
// name of what changed; old and new value as texts (empty: none).
struct THistoryChange {
    std::u16string Symbol;
    std::u16string Caption;
    std::u16string OldValue;
    std::u16string NewValue;
};

struct THistoryEntry {
    int64_t Seq = 0;    // position in the chain, from 1
    int64_t TimeMs = 0; // UTC milliseconds since 1970 (the server's clock, or the desk's on a file)
    int64_t OperatorID = 0;
    std::u16string Operator; // login at the time; empty when nobody was logged in
    std::u16string Host;     // the desk's host name
    THistoryEvent Event = THistoryEvent::hePost;
    int32_t Kind = 0;       // record-kind position 1-21; 0 for events of no registry
    int64_t RecordID = 0;   // the record (also after it was deleted); 0 when none
    int64_t SubjectID = 0;  // the top-level record the record belongs to (itself when top-level)
    std::u16string Description; // the record's first description line at the time
    std::vector<THistoryChange> Changes;
};

// Conditions of a journal query; empty or zero: no condition. Newest first, at most Limit.
struct THistoryFilter {
    std::u16string Operator; // exact login
    int64_t FromMs = 0;      // inclusive
    int64_t ToMs = 0;        // exclusive
    int32_t Kind = 0;
    int64_t RecordID = 0;    // the record or a section of it
    std::u16string Text;     // found, ignoring case, in a value, caption, description or login
    int32_t Limit = 5000;
};

struct IEwidarHistory : IInterface {
    static constexpr TGUID IID = {0x7A1C3E52, 0x94D0, 0x4B6E, {0x8F, 0x21, 0x5C, 0x0D, 0x3B, 0x77, 0xE4, 0x19}};
    using Parent = IInterface;

    virtual int32_t GetLastErrorCode() = 0;
    // Entries of a record and of its sections, newest first; readable after the record was
    // deleted. Needs the right to view data.
    virtual bool RecordHistory(int64_t RecordID, std::vector<THistoryEntry>& Out) = 0;
    // The journal: needs the right to manage operators.
    virtual bool Query(const THistoryFilter& Filter, std::vector<THistoryEntry>& Out) = 0;
    // Logins that occur in the history, sorted; for the journal's operator filter.
    virtual bool Operators(std::vector<std::u16string>& Out) = 0;
    // Walks the chain: true and FirstBroken 0 when every entry verifies; true with the
    // position of the first entry that does not (Reason says why); false when it could not
    // be read. Needs the right to manage operators.
    virtual bool Verify(int64_t& FirstBroken, std::u16string& Reason) = 0;
};

// ---------------------------------------------------------------------------
// Root object

struct IEwidarDataBase : ICustomDataBase {
    static constexpr TGUID IID = {0x5227C413, 0x8152, 0xA9CF, {0xB9, 0x91, 0x4C, 0x39, 0x4E, 0x30, 0x64, 0x0E}};
    using Parent = ICustomDataBase;

    virtual TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t Reserved) = 0;
    virtual TIntfPtr<IEwidarSlownikProvider> GetSlownikProvider(int32_t Reserved) = 0;
    virtual TIntfPtr<IUsersGroup> GetUsersGroups() = 0;
    // Copies the data of another connected database into this one (cancel: code 204).
    virtual bool ImportFrom(IEwidarDataBase* Source) = 0;
    virtual void SetOnProgress(TProgressEvent Handler) = 0;
    virtual TProgressEvent GetOnProgress() = 0;
    virtual bool Login(const std::u16string& Login, const std::u16string& Password) = 0;
    // True when no login is needed or an operator is logged in.
    virtual bool IsLoggedIn() = 0;
    virtual void Logout() = 0;
    virtual bool IsAdministrator() = 0;

    // Backups: one file with a consistent copy of the whole database and its manifest,
    // taken while others go on working, the same format for every backend; encrypted
    // when Password is not empty. Progress through OnProgress (cancel allowed).
    // Backup may run on another thread than the root object's other calls, over a
    // connection of its own, while the root object stays connected.
    virtual bool Backup(const std::u16string& Path, const std::u16string& Password) = 0;
    // Reads and checks a whole backup file; its manifest (JSON) in Manifest. Needs no
    // connection.
    virtual bool ReadBackup(const std::u16string& Path, const std::u16string& Password,
                            std::u16string& Manifest) = 0;
    // Replaces everything the connected database holds with the backup's content, all
    // or nothing (an administrator's action).
    virtual bool Restore(const std::u16string& Path, const std::u16string& Password) = 0;
    // Duplicates and merging.
    // Stored subjects sharing the digits of a NIP, PESEL or REGON, or the same name and
    // postal code; pairs marked as no duplicates are left out. Empty on failure.
    virtual TIntfPtr<IDuplicatePairs> FindDuplicates() = 0;
    // Remembers that two subjects are not one, so that FindDuplicates no longer offers them.
    virtual bool MarkNotDuplicate(int32_t FirstID, int32_t SecondID) = 0;
    // Merges the stored record DropID into KeepID, of the same kind, in one transaction:
    // Values are written into the kept record, every section, link and relation of the
    // dropped one moves to the kept one, and the dropped record is deleted. All or nothing;
    // 105 when another desk holds either record's lock.
    virtual bool MergeRecords(int32_t KeepID, int32_t DropID, const std::vector<TMergeValue>& Values) = 0;
    // History of changes; empty from a backend that keeps none.
    virtual TIntfPtr<IEwidarHistory> GetHistory() { return {}; }
};

// Export "GetEwidarIntf" of the router and the backends: a new, unconnected root
// object for the symbol in *Out (one reference owned by the caller), or nullptr.
using TGetEwidarIntf = void (*)(const std::u16string& Symbol, IEwidarDataBase** Out);
// Sibling products' root-interface exports share the router's forwarding.
using TGetIntf = void (*)(const std::u16string& Symbol, IInterface** Out);
// Exports "DBListCount" and "DBListItem".
using TDBListCount = int32_t (*)();
using TDBListItem = bool (*)(int32_t Index, std::u16string& DBSymbol, std::u16string& DBManagerCaption);
// Export "GetFileVersion": the library's version text, for example "1.0.0.0".
using TGetFileVersion = void (*)(std::u16string& Version);

// ---------------------------------------------------------------------------
// Whole lists at once

// Every row of a list as a grid shows it: identifier and description lines, in list
// order, without a record object per row. Row r's line l is Text[Ends[k-1] .. Ends[k])
// with k = r * LineCount + l (from 0 for k = 0).
struct TEwidarRowLines {
    std::vector<int32_t> IDs;
    int32_t LineCount = 0;
    std::u16string Text;
    std::vector<int32_t> Ends;

    std::u16string_view Line(size_t Row, int32_t Index) const {
        const size_t k = Row * static_cast<size_t>(LineCount) + static_cast<size_t>(Index);
        const size_t from = k == 0 ? 0 : static_cast<size_t>(Ends[k - 1]);
        return std::u16string_view(Text).substr(from, static_cast<size_t>(Ends[k]) - from);
    }
};

// Offered by a collection (ask with Supports) that reads its rows in one pass.
struct IEwidarRowReader : IInterface {
    static constexpr TGUID IID = {0x4D2B7E90, 0x1A6C, 0x4F3E, {0xB5, 0x0D, 0x86, 0x2F, 0xC1, 0x47, 0x9E, 0x3A}};
    using Parent = IInterface;

    // The rows matching the collection's filter, the same GetCount and GetItem see; false
    // on failure (the collection's GetLastErrorCode says why).
    virtual bool ReadRows(TEwidarRowLines& Out) = 0;
    // The record of the listed row with this identifier, as GetItem gives it; empty when
    // the list (read again if it changed meanwhile) no longer holds it.
    virtual TIntfPtr<IEwidarRecord> GetItemByID(int32_t ID) = 0;
};
